#include <gtest/gtest.h>

#include "ui/ui_strings.h"

namespace orvika2 {
namespace {

TEST(UiStrings, LooksUpBothLanguagesAndKeepsTrailingBlanks) {
    EXPECT_EQ(UiString(105, kLangEnglish), L"Orvika2 not inserted");
    EXPECT_EQ(UiString(105, kLangTraditionalChinese), L"未插入Orvika2");
    EXPECT_EQ(UiString(12, kLangEnglish), L"Profile deleted successfully ");
    EXPECT_EQ(UiString(35, kLangEnglish).substr(30, 4), L"\\r\\n");
    EXPECT_EQ(UiString(1, kLangEnglish), UiString(1, kLangTraditionalChinese));
    // No Simplified Chinese texts: English serves.
    EXPECT_EQ(UiString(45, kLangSimplifiedChinese), L"OK");
    EXPECT_EQ(UiString(46, kLangEnglish), L"");
    // Windows show the escapes as line breaks.
    EXPECT_EQ(ShownText(UiString(35, kLangEnglish)),
              L"profile1 and profile 2 not set\r\nPlease select system settings first for configuration");
    EXPECT_EQ(ShownText(UiString(15, kLangTraditionalChinese)), L"是否保存設定檔備份？\r\n(設定檔備份請妥善保存)");
    EXPECT_EQ(ShownText(L"a\\b\\"), L"a\\b\\");
}

}  // namespace
}  // namespace orvika2
