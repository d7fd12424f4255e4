#pragma once
// Reading and writing one value in the text of a profile (INI) file, as the
// Windows profile-file functions do it. Lines keep their own line ends; only
// the line of the key changes, or one or two CRLF lines are added.
#include <string>
#include <string_view>
#include <vector>

namespace orvika2 {

// The value of the first matching key in the first matching section, without
// surrounding blanks and enclosing quotes, at most 259 UTF-16 units. Names
// match without regard to case; the section "" is the part before the
// first section line.
std::wstring ReadProfileValue(std::wstring_view text, std::wstring_view section, std::wstring_view key);

// The text with the key's value replaced. A new key goes after the last
// non-blank line of its section, a new section at the end of the text.
std::wstring WriteProfileValue(std::wstring_view text, std::wstring_view section, std::wstring_view key,
                               std::wstring_view value);

// The names of the section lines, trimmed, in order; nameless ones left out.
std::vector<std::wstring> ReadProfileSectionNames(std::wstring_view text);

}  // namespace orvika2
