#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "resources/string_ids.h"

namespace orvika2 {

using LanguageId = std::uint16_t;
inline constexpr LanguageId kLangTraditionalChinese = 0x0404;
inline constexpr LanguageId kLangEnglish = 0x0409;
inline constexpr LanguageId kLangSimplifiedChinese = 0x0804;

// The interface text with this id: Traditional Chinese for 0x0404, English
// for every other language (there are no Simplified Chinese texts). A
// missing id gives the empty text.
const std::wstring& UiString(int id, LanguageId language);

// A text as a window shows it: the table keeps line breaks as the escapes
// "\\r\\n" and "\\n", which become a real line break here.
std::wstring ShownText(std::wstring_view stored);

// `text` with every `marker` (such as "%1") replaced by `value`.
std::wstring FillPlaceholder(std::wstring text, std::wstring_view marker, std::wstring_view value);

// Shorthand for the English text, as the command-line tool prints it.
const std::wstring& EnglishString(int id);

}  // namespace orvika2
