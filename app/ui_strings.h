#pragma once
#include <cstdint>
#include <string>

namespace orvika2 {

using LanguageId = std::uint16_t;
inline constexpr LanguageId kLangTraditionalChinese = 0x0404;
inline constexpr LanguageId kLangEnglish = 0x0409;
inline constexpr LanguageId kLangSimplifiedChinese = 0x0804;

// The interface text with this id: Traditional Chinese for 0x0404, English
// for every other language (there are no Simplified Chinese texts). A
// missing id gives the empty text.
const std::wstring& UiString(int id, LanguageId language);

// Shorthand for the English text, as the command-line tool prints it.
const std::wstring& EnglishString(int id);

}  // namespace orvika2
