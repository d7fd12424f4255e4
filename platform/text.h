#pragma once
// UTF-8 <-> wide conversion for the edges. wchar_t is UTF-16 on Windows and
// UTF-32 elsewhere; both are handled.
#include <string>
#include <string_view>

namespace orvika2 {

std::wstring WidenUtf8(std::string_view utf8);
std::string NarrowUtf8(std::wstring_view wide);

}  // namespace orvika2

#include <filesystem>

namespace orvika2 {

// Paths are wide at the Win32 edge and UTF-8 on Linux; converting through the
// C++ locale instead would throw for non-ASCII names under LANG=C.
std::filesystem::path PathFromWide(const std::wstring& wide);
std::wstring WideFromPath(const std::filesystem::path& path);

}  // namespace orvika2
