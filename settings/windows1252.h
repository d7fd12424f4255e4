#pragma once
// Code page 1252, the portable stand-in for the system's ANSI code page of
// a Western Windows installation.
#include <string>
#include <string_view>

namespace orvika2 {

// Every byte has a character; the five unassigned ones map to the C1
// controls of the same value, as Windows maps them.
std::wstring DecodeWindows1252(std::string_view bytes);

// As Windows converts without WC_NO_BEST_FIT_CHARS: a character missing from
// the code page becomes its best-fit look-alike ('ā' -> 'a') or '?'. A
// character beyond the Basic Multilingual Plane becomes "??", one per
// UTF-16 unit.
std::string EncodeWindows1252(std::wstring_view text);

}  // namespace orvika2
