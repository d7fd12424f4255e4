#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/text.h"
#include "ui/ui_language_win32.h"
#include "ui/ui_strings.h"

namespace orvika2 {
namespace {

struct SourceEntry {
    int id;
    std::string_view english;
    std::string_view chinese;
};

constexpr SourceEntry kSource[] = {
#define ORVIKA2_STRING(id, symbol, en, zh) {id, en, zh},
#include "resources/strings.inc"
#undef ORVIKA2_STRING
};

HMODULE Self() { return GetModuleHandleW(nullptr); }

TEST(ResourceStrings, EveryIdInBothLanguagesMatchesTheSourceAndThePortableLookup) {
    ASSERT_GE(std::size(kSource), 96u);
    for (const auto& entry : kSource) {
        const std::wstring english = WidenUtf8(entry.english);
        const std::wstring chinese = WidenUtf8(entry.chinese);
        EXPECT_EQ(ResourceString(Self(), entry.id, kLangEnglish), english) << entry.id;
        EXPECT_EQ(ResourceString(Self(), entry.id, kLangTraditionalChinese), chinese) << entry.id;
        EXPECT_EQ(UiString(entry.id, kLangEnglish), english) << entry.id;
        EXPECT_EQ(UiString(entry.id, kLangTraditionalChinese), chinese) << entry.id;
        // Simplified Chinese has no table of its own.
        EXPECT_EQ(ResourceString(Self(), entry.id, kLangSimplifiedChinese), english) << entry.id;
    }
}

TEST(ResourceStrings, TrailingBlanksAndLiteralBackslashesSurvive) {
    for (int id : {IDS_REQUIRE_TOUCH_QUESTION, IDS_PROFILE_DELETED, IDS_NEW_VERSION_QUESTION, IDS_NEWEST_VERSION_QUESTION,
                   IDS_ENTER_ACCOUNT_NAME}) {
        const std::wstring text = ResourceString(Self(), id, kLangEnglish);
        ASSERT_FALSE(text.empty()) << id;
        EXPECT_EQ(text.back(), L' ') << id;
    }
    EXPECT_NE(ResourceString(Self(), IDS_SAVE_BACKUP_QUESTION, kLangEnglish).find(L"?\\n("), std::wstring::npos);
    EXPECT_NE(ResourceString(Self(), IDS_SAVE_BACKUP_QUESTION, kLangTraditionalChinese).find(L"\\n("),
              std::wstring::npos);
    EXPECT_NE(ResourceString(Self(), IDS_NO_PROFILE_SET, kLangEnglish).find(L"set\\r\\nPlease"), std::wstring::npos);
    EXPECT_NE(ResourceString(Self(), IDS_NO_PROFILE_SET, kLangTraditionalChinese).find(L"\\r\\n"), std::wstring::npos);
    EXPECT_EQ(ResourceString(Self(), IDS_NO_PROFILE_SET, kLangEnglish).find(L'\n'), std::wstring::npos);
    EXPECT_EQ(ResourceString(Self(), IDS_PRODUCT_NAME, kLangEnglish),
              ResourceString(Self(), IDS_PRODUCT_NAME, kLangTraditionalChinese));
}

TEST(ResourceStrings, TablesAreStoredUnderNeutralEnglishAndTraditionalChinese) {
    // Block 2 holds ids 16 to 31.
    EXPECT_NE(FindResourceExW(Self(), RT_STRING, MAKEINTRESOURCEW(2), MAKELANGID(LANG_ENGLISH, SUBLANG_NEUTRAL)),
              nullptr);
    EXPECT_NE(FindResourceExW(Self(), RT_STRING, MAKEINTRESOURCEW(2), 0x0404), nullptr);
    EXPECT_EQ(FindResourceExW(Self(), RT_STRING, MAKEINTRESOURCEW(2), 0x0804), nullptr);
}

TEST(ResourceStrings, MissingIdsAreEmpty) {
    for (int id : {0, 46, 59, 99, 116, 199, 5000, 70000}) {
        EXPECT_EQ(ResourceString(Self(), id, kLangEnglish), L"") << id;
        EXPECT_EQ(ResourceString(Self(), id, kLangTraditionalChinese), L"") << id;
    }
}

}  // namespace
}  // namespace orvika2
