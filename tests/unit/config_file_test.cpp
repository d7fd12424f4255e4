#include <gtest/gtest.h>

#include "settings/clock_correction.h"
#include "settings/config_file.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_app_environment.h"
#include "tests/support/memory_profile_store.h"

namespace orvika2 {
namespace {

using testing::FakeEnvironment;
using testing::MemoryProfileStore;

const std::wstring kFile = L"C:\\Users\\u\\AppData\\Roaming\\Orvika2\\Orvika2Config.ini";

TEST(ConfigPlacement, FirstStartWithoutTemplateWritesTheHotkeyDefaultsInOrder) {
    FakeEnvironment env;
    MemoryProfileStore store;
    const auto location = PlaceConfigurationFile(env, store);
    EXPECT_EQ(location.file, kFile);
    EXPECT_EQ(location.templateFile, L"C:\\Program Files\\Orvika2\\Orvika2Config.ini");
    EXPECT_TRUE(env.directories.count(L"C:\\Users\\u\\AppData\\Roaming\\Orvika2\\"));
    const std::vector<MemoryProfileStore::Write> expected = {
        {kFile, L"HotKey_OTP", L"VirtualKeyCode", L"81"},
        {kFile, L"HotKey_OTP", L"fsModifiers", L"2"},
        {kFile, L"HotKey_Switch", L"VirtualKeyCode", L"83"},
        {kFile, L"HotKey_Switch", L"fsModifiers", L"1"},
    };
    EXPECT_EQ(store.writes, expected);
    EXPECT_EQ(ReadHotkey(store, kFile, HotkeyRole::VerificationCode), kDefaultCodeHotkey);
    EXPECT_EQ(ReadHotkey(store, kFile, HotkeyRole::SwitchProfile), kDefaultSwitchHotkey);
}

TEST(ConfigPlacement, ExistingFileIsLeftAloneAndTemplateIsOnlyCopied) {
    FakeEnvironment existing;
    existing.files.insert(kFile);
    MemoryProfileStore store;
    PlaceConfigurationFile(existing, store);
    EXPECT_TRUE(store.writes.empty());
    EXPECT_TRUE(existing.copies.empty());

    FakeEnvironment withTemplate;
    withTemplate.files.insert(L"C:\\Program Files\\Orvika2\\Orvika2Config.ini");
    PlaceConfigurationFile(withTemplate, store);
    ASSERT_EQ(withTemplate.copies.size(), 1u);
    EXPECT_EQ(withTemplate.copies[0].second, kFile);
    EXPECT_TRUE(store.writes.empty());
}

TEST(ConfigPlacement, FailedTemplateCopyStillLeavesAWorkingFile) {
    FakeEnvironment env;
    env.files.insert(L"C:\\Program Files\\Orvika2\\Orvika2Config.ini");
    env.failCopy = true;
    MemoryProfileStore store;
    PlaceConfigurationFile(env, store);
    EXPECT_EQ(ReadHotkey(store, kFile, HotkeyRole::VerificationCode), kDefaultCodeHotkey);
}

TEST(ConfigPlacement, AutostartValueGivesTheTemplateFolder) {
    const struct {
        const wchar_t* autostart;
        const wchar_t* folder;
    } cases[] = {
        {L"\"D:\\Program Files\\Orvika2\\Orvika2.exe\"", L"D:\\Program Files\\Orvika2\\"},
        {L"\"D:\\Tools\\Orvika2\\Orvika2.exe\" --tray", L"D:\\Tools\\Orvika2\\"},
        {L"D:\\Program Files\\Orvika2\\Orvika2.exe", L"D:\\Program Files\\Orvika2\\"},  // as older versions wrote it
    };
    for (const auto& c : cases) {
        FakeEnvironment env;
        env.cwd = L"C:\\Windows\\system32";
        env.autostart = c.autostart;
        MemoryProfileStore store;
        const auto location = PlaceConfigurationFile(env, store);
        EXPECT_EQ(env.cwd, c.folder) << c.autostart;
        // The removed file name leaves its separator: the template path
        // doubles it, which Windows accepts.
        EXPECT_EQ(location.templateFile, std::wstring(c.folder) + L"\\Orvika2Config.ini") << c.autostart;
    }
}

TEST(ConfigFile, DecimalConversionBehavesLikeAtoi) {
    const std::pair<const wchar_t*, int> cases[] = {
        {L"81", 81}, {L"  42", 42}, {L"-7", -7}, {L"+3", 3}, {L"12abc", 12}, {L"abc", 0},
        {L"", 0},    {L"- 5", 0},   {L"337", 337}, {L"99999999999", 2147483647},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseDecimal(text), value) << text;
}

TEST(ConfigFile, MissingHotkeyReadsAsZeroAndEntriesUseTheirSection) {
    MemoryProfileStore store;
    EXPECT_EQ(ReadHotkey(store, kFile, HotkeyRole::SwitchProfile), (Hotkey{0, 0}));
    WriteProfileEntry(store, kFile, L"000a1bff", 2, L"StaticPassword");
    EXPECT_EQ(ReadProfileEntry(store, kFile, L"000a1bff", 2), L"StaticPassword");
    EXPECT_EQ(ReadProfileEntry(store, kFile, L"000a1bff", 1), L"");
    EXPECT_EQ(store.writes.back().key, L"Config2");
    WriteLanguageChoice(store, kFile, L"en");
    EXPECT_EQ(ReadLanguageChoice(store, kFile), L"en");
}

// An absent or unknown method is the keypad, as before there was a choice.
TEST(ConfigFile, TypingMethodIsKeypadUnlessTheFileNamesAnother) {
    MemoryProfileStore store;
    EXPECT_EQ(ReadTypingMethod(store, kFile), TypingMethod::Keypad);
    for (const auto& [text, method] : std::vector<std::pair<std::wstring, TypingMethod>>{
             {L"toprow", TypingMethod::TopRow}, {L"unicode", TypingMethod::Unicode},
             {L"keypad", TypingMethod::Keypad}, {L"TopRow", TypingMethod::Keypad}, {L"", TypingMethod::Keypad}}) {
        store.Put(kFile, L"Typing", L"Method", text);
        EXPECT_EQ(ReadTypingMethod(store, kFile), method) << std::string(text.begin(), text.end());
    }
    ASSERT_TRUE(WriteTypingMethod(store, kFile, TypingMethod::TopRow));
    EXPECT_EQ(store.Get(kFile, L"Typing", L"Method"), L"toprow");
    EXPECT_TRUE(IsSettingsSection(L"Typing"));
    EXPECT_FALSE(IsSettingsSection(L"000a1bff"));
}

TEST(ConfigFile, ACodeShapeOutsideItsRangeOrAbsentReadsAs6And30) {
    struct Case {
        const wchar_t *digits, *period;
        CodeShape shape;
    } const cases[] = {
        {nullptr, nullptr, {}}, {L"8", L"60", {8, 60}}, {L"7", nullptr, {7, 30}}, {nullptr, L"15", {6, 15}},
        {L"9", L"121", {}},     {L"5", L"9", {}},       {L"8x", L" 60", {}},     {L"", L"", {}},
        {L"08", L"010", {8, 10}},
    };
    for (const auto& c : cases) {
        MemoryProfileStore store;
        WriteProfileEntry(store, kFile, L"000a1bff", 1, L"Google");
        if (c.digits) store.Put(kFile, L"000a1bff", L"Digits1", c.digits);
        if (c.period) store.Put(kFile, L"000a1bff", L"Period1", c.period);
        EXPECT_EQ(ReadCodeShape(store, kFile, L"000a1bff", 1), c.shape) << (c.digits ? c.digits : L"-");
        EXPECT_EQ(ReadCodeShape(store, kFile, L"000a1bff", 2), CodeShape{});
    }
}

TEST(ConfigFile, TheClockCorrectionIsAWholeSignedDecimalAddedAtEveryReading) {
    const std::pair<const wchar_t*, std::int64_t> stored[] = {
        {L"90", 90}, {L"-3600", -3600}, {L"+45", 45}, {L" 12\t", 12}, {L"0", 0}, {L"", 0}, {L"90 s", 0},
        {L"1e3", 0}, {L"--5", 0}, {L"-", 0}, {L"2147483647", 2147483647}, {L"2147483648", 0}, {L"-99999999999", 0},
    };
    MemoryProfileStore store;
    testing::FakeClock base;
    base.SetUnixSeconds(1'000'000'000);
    CorrectedClock clock(base, [&] { return ReadClockCorrection(store, kFile); });
    for (const auto& [text, seconds] : stored) {
        store.Put(kFile, kClockSection, kClockCorrectionKey, text);
        EXPECT_EQ(ReadClockCorrection(store, kFile), seconds) << text;
        EXPECT_EQ(clock.UnixSeconds(), 1'000'000'000 + seconds) << text;
    }
    // Written back as read; 0 removes the key; past the limit nothing changes.
    for (const std::int64_t seconds : {90LL, -45LL, 0LL}) {
        ASSERT_TRUE(WriteClockCorrection(store, kFile, seconds));
        EXPECT_EQ(ReadClockCorrection(store, kFile), seconds);
    }
    EXPECT_EQ(store.writes.back().value, L"-45");
    EXPECT_TRUE(store.SectionNames(kFile).empty()) << "0 leaves no key behind";
    EXPECT_FALSE(WriteClockCorrection(store, kFile, kMaxClockCorrectionSeconds + 1));
    EXPECT_TRUE(store.SectionNames(kFile).empty());
    // A correction back past 1970 stops at the epoch; ticks are the base's.
    store.Put(kFile, kClockSection, kClockCorrectionKey, L"-2000000000");
    EXPECT_EQ(clock.UnixSeconds(), 0);
    clock.SleepMs(1500);
    EXPECT_EQ(clock.TickMs(), base.TickMs());
    EXPECT_EQ(base.TotalSleptMs(), 1500u);
    EXPECT_EQ(ClockCorrectionText(90) + ClockCorrectionText(-45) + ClockCorrectionText(0), "+90 s-45 snone");
}

}  // namespace
}  // namespace orvika2
