#pragma once
// Reading and writing one value in the text of a profile (INI) file, as the
// Windows profile-file functions do it. Lines keep their own line ends; only
// the line of the key changes, or one or two CRLF lines are added.
#include <string>
#include <string_view>
#include <vector>

#include "settings/profile_store.h"

namespace orvika2 {

// The value of the first matching key in the first matching section, without
// surrounding blanks and enclosing quotes, at most 259 UTF-16 units. Names
// match without regard to case; the section "" is the part before the
// first section line. A reader with a larger buffer passes its size.
std::wstring ReadProfileValue(std::wstring_view text, std::wstring_view section, std::wstring_view key,
                              std::size_t maxUnits = kProfileValueMax);

// The text with the key's value replaced. A new key goes after the last
// non-blank line of its section, a new section at the end of the text.
std::wstring WriteProfileValue(std::wstring_view text, std::wstring_view section, std::wstring_view key,
                               std::wstring_view value);

// The text without the key's line, as writing a null value through the
// Win32 functions leaves it; unchanged when the key is missing.
std::wstring RemoveProfileValue(std::wstring_view text, std::wstring_view section, std::wstring_view key);

// Whether a value can be stored under the section and key so that it reads
// back as written and no other line changes: no line break or NUL anywhere,
// no '=' in the key, no key that would read as a section line, and no key
// before the first section that would begin the file with the bytes of a
// UTF-16LE byte-order mark.
bool IsStorableProfileEntry(std::wstring_view section, std::wstring_view key, std::wstring_view value);

// The text to write after "key=" so that the value reads back exactly: a
// value the reader would trim or unquote goes inside one more pair of
// double quotes. Other values stay as they are, so files keep their shape.
std::wstring StoredProfileValue(std::wstring_view value);

// The names of the section lines, trimmed, in order; nameless ones left out.
std::vector<std::wstring> ReadProfileSectionNames(std::wstring_view text);

}  // namespace orvika2
