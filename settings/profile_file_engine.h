#pragma once
// The portable profile-file store: the Windows profile-file semantics over
// plain file access. Every call reads the file; every change is written at
// once, in the file's own encoding.
//
// 8-bit files are code page 1252, the ANSI code page of a Western Windows:
// bytes are never taken for UTF-8, so a file reads the same here as through
// the Win32 functions there. A file that starts with a UTF-16LE byte-order
// mark stays UTF-16LE. A new file is 8-bit.
#include <string>
#include <string_view>

namespace orvika2 {

enum class ProfileFileEncoding { Ansi, Utf16Le };

struct ProfileFileText {
    ProfileFileEncoding encoding = ProfileFileEncoding::Ansi;
    std::wstring text;  // without the byte-order mark
};

ProfileFileText DecodeProfileFile(std::string_view bytes);
std::string EncodeProfileFile(const ProfileFileText& file);

}  // namespace orvika2
