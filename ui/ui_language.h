#pragma once
// The interface language: which one the configuration's choice and the
// user's default locale select, and the choice each language command writes.
#include <optional>
#include <string_view>

#include "ui/ui_strings.h"

namespace orvika2 {

inline constexpr std::wstring_view kChoiceTraditionalChinese = L"zh-tw";
inline constexpr std::wstring_view kChoiceSimplifiedChinese = L"zh-cn";
inline constexpr std::wstring_view kChoiceEnglish = L"en";

// Exact, case-sensitive choices first; otherwise a Chinese default locale
// (0x0404 or 0x0804, compared whole) gives Traditional Chinese, any other
// English.
LanguageId LanguageIdForChoice(std::wstring_view choice, LanguageId userDefault);

// The string table that serves a language: Traditional Chinese for 0x0404,
// English for every other id.
LanguageId StringTableLanguage(LanguageId language);

}  // namespace orvika2
