#include <gtest/gtest.h>

#include "ui/ui_language.h"

namespace orvika2 {
namespace {

TEST(UiLanguage, ChoiceWinsExactlyOtherwiseTheDefaultLocaleDecides) {
    struct Case {
        const wchar_t* choice;
        LanguageId userDefault;
        LanguageId expected;
    };
    const Case cases[] = {
        {L"zh-tw", 0x0409, 0x0404},  // chosen Chinese on an English system
        {L"zh-cn", 0x0409, 0x0804},  // only an explicit choice gives 0x0804
        {L"en", 0x0404, 0x0409},
        {L"EN", 0x0404, 0x0404},     // case-sensitive: falls back to the default
        {L"EN", 0x0409, 0x0409},
        {L"zh-TW", 0x0409, 0x0409},
        {L"", 0x0804, 0x0404},       // a Simplified Chinese default gets Traditional
        {L"", 0x0404, 0x0404},
        {L"", 0x0C04, 0x0409},       // Hong Kong is compared as a whole id
        {L"", 0x1004, 0x0409},
        {L"fr", 0x040C, 0x0409},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageIdForChoice(c.choice, c.userDefault), c.expected)
            << "choice '" << testing::PrintToString(std::wstring(c.choice)) << "' default " << c.userDefault;
    }
}

TEST(UiLanguage, OnlyTraditionalChineseHasItsOwnStringTable) {
    EXPECT_EQ(StringTableLanguage(kLangTraditionalChinese), kLangTraditionalChinese);
    EXPECT_EQ(StringTableLanguage(kLangSimplifiedChinese), kLangEnglish);
    EXPECT_EQ(StringTableLanguage(kLangEnglish), kLangEnglish);
    EXPECT_EQ(StringTableLanguage(0x0C04), kLangEnglish);
}

}  // namespace
}  // namespace orvika2
