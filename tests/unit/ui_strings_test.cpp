#include <gtest/gtest.h>

#include "ui/ui_strings.h"

namespace orvika2 {
namespace {

TEST(UiStrings, LooksUpBothLanguagesAndKeepsTrailingBlanks) {
    EXPECT_EQ(UiString(IDS_NOT_INSERTED, kLangEnglish), L"Orvika2 not inserted");
    EXPECT_EQ(UiString(IDS_NOT_INSERTED, kLangTraditionalChinese), L"未插入Orvika2");
    EXPECT_EQ(UiString(IDS_PROFILE_DELETED, kLangEnglish), L"Profile deleted successfully ");
    EXPECT_EQ(UiString(IDS_NO_PROFILE_SET, kLangEnglish).substr(30, 4), L"\\r\\n");
    EXPECT_EQ(UiString(IDS_PRODUCT_NAME, kLangEnglish), UiString(IDS_PRODUCT_NAME, kLangTraditionalChinese));
    // No Simplified Chinese texts: English serves.
    EXPECT_EQ(UiString(IDS_OK, kLangSimplifiedChinese), L"OK");
    EXPECT_EQ(UiString(46, kLangEnglish), L"");
    // Windows show the escapes as line breaks.
    EXPECT_EQ(ShownText(UiString(IDS_NO_PROFILE_SET, kLangEnglish)),
              L"profile1 and profile 2 not set\r\nPlease select system settings first for configuration");
    EXPECT_EQ(ShownText(UiString(IDS_SAVE_BACKUP_QUESTION, kLangTraditionalChinese)),
              L"是否保存設定檔備份？\r\n(設定檔備份請妥善保存)");
    EXPECT_EQ(ShownText(L"a\\b\\"), L"a\\b\\");
    EXPECT_EQ(FillPlaceholder(L"off by %1 s; %1 s", L"%1", L"90"), L"off by 90 s; 90 s");
}

}  // namespace
}  // namespace orvika2
