#include <gtest/gtest.h>

#include "settings/profile_mode.h"

namespace orvika2 {
namespace {

TEST(ProfileMode, ClassifiesEntriesBySubstringInEitherTestOrder) {
    using enum ProfileMode;
    const struct {
        std::wstring_view entry;
        ProfileMode notConfiguredFirst;
        ProfileMode staticPasswordFirst;
    } cases[] = {
        {L"", TwoStep, TwoStep},
        {L"Google", TwoStep, TwoStep},
        {L"NotConfigured", NotConfigured, NotConfigured},
        {L"StaticPassword", StaticPassword, StaticPassword},
        {L"MyNotConfiguredMail", NotConfigured, NotConfigured},
        {L"xStaticPasswordx", StaticPassword, StaticPassword},
        {L"notconfigured", TwoStep, TwoStep},
        {L"STATICPASSWORD", TwoStep, TwoStep},
        {L"StaticPassword NotConfigured", NotConfigured, StaticPassword},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ClassifyProfileEntry(c.entry, EntryTestOrder::NotConfiguredFirst), c.notConfiguredFirst) << std::wstring(c.entry);
        EXPECT_EQ(ClassifyProfileEntry(c.entry, EntryTestOrder::StaticPasswordFirst), c.staticPasswordFirst) << std::wstring(c.entry);
    }
}

TEST(ProfileMode, WrittenEntriesClassifyAsTheModeTheyWereWrittenFor) {
    for (const auto mode : {ProfileMode::TwoStep, ProfileMode::StaticPassword, ProfileMode::NotConfigured}) {
        for (const std::wstring_view account : {L"", L"Dropbox"}) {
            const std::wstring_view entry = ProfileEntryText(mode, account);
            EXPECT_EQ(ClassifyProfileEntry(entry, EntryTestOrder::NotConfiguredFirst), mode);
            if (mode == ProfileMode::TwoStep) {
                EXPECT_EQ(entry, account);
            }
        }
    }
}

TEST(ProfileMode, BackupModeTextsAreExactAndCaseSensitive) {
    for (const auto mode : {ProfileMode::TwoStep, ProfileMode::StaticPassword}) {
        EXPECT_EQ(BackupModeFromText(BackupModeText(mode)), mode);
    }
    EXPECT_EQ(BackupModeText(ProfileMode::NotConfigured), L"");
    for (const std::wstring_view text : {L"otp", L"Static", L"OTP ", L"", L"NotConfigured", L"STATICX"}) {
        EXPECT_FALSE(BackupModeFromText(text)) << std::wstring(text);
    }
}

}  // namespace
}  // namespace orvika2
