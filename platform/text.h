#pragma once
// UTF-8 <-> wide conversion for the edges. wchar_t is UTF-16 on Windows and
// UTF-32 elsewhere; both are handled.
#include <string>
#include <string_view>

namespace orvika2 {

std::wstring WidenUtf8(std::string_view utf8);
std::string NarrowUtf8(std::wstring_view wide);

}  // namespace orvika2
