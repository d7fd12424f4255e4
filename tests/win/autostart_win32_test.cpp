#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/autostart_command.h"
#include "platform/autostart_win32.h"
#include "platform/executable_path_win32.h"
#include "platform/registry_data.h"
#include "platform/registry_win32.h"
#include "settings/app_environment.h"

namespace orvika2 {
namespace {

const std::wstring kRun(kRunKeyPath);
const std::wstring kValue(kAutostartValueName);

RegistryKey RunKey() { return RegistryKey::Open(HKEY_CURRENT_USER, kRun, KEY_QUERY_VALUE | KEY_SET_VALUE); }

struct StoredValue {
    DWORD type = 0;
    DWORD size = 0;
};
std::optional<StoredValue> Stored(HKEY key, const std::wstring& name) {
    StoredValue value;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &value.size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return value;
}

// The prefix's own autostart value is put back afterwards: wineboot would
// otherwise start whatever a test left there.
class Autostart : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = RunKey().ReadString(kValue);
        RunKey().DeleteValue(kValue);
    }
    void TearDown() override {
        RegistryKey run = RunKey();
        if (saved_) {
            run.WriteString(kValue, *saved_);
        } else {
            run.DeleteValue(kValue);
        }
    }

private:
    std::optional<std::wstring> saved_;
};

TEST_F(Autostart, EnableQueryOverwriteAndDisable) {
    EXPECT_FALSE(QueryAutostart());
    EXPECT_FALSE(SetAutostart(false)) << "deleting an absent value fails";

    ASSERT_TRUE(SetAutostart(true));
    EXPECT_TRUE(QueryAutostart());
    const std::wstring program = ExecutablePath().value_or(L"");
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(RunKey().ReadString(kValue), L"\"" + program + L"\"") << "quoted, so spaces cannot split it";
    const auto stored = Stored(RunKey().get(), kValue);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored->size, RegSzDataBytes(program.size() + 2)) << "the quoted path and its NUL";

    EXPECT_TRUE(SetAutostart(true));
    EXPECT_TRUE(SetAutostart(false));
    EXPECT_FALSE(QueryAutostart());
}

TEST_F(Autostart, RefreshFollowsTheProgramOnlyWhenEnabled) {
    const std::wstring moved = L"D:\\New place \u8a2d\\Orvika2.exe";
    RefreshAutostart(moved);
    EXPECT_FALSE(QueryAutostart()) << "refresh never enables";

    ASSERT_TRUE(SetAutostart(true));
    RefreshAutostart(moved);
    EXPECT_EQ(RunKey().ReadString(kValue), L"\"" + moved + L"\"");
}

TEST_F(Autostart, AnOldUnquotedValueIsStillUnderstoodAndRefreshedQuoted) {
    const std::wstring old = L"C:\\Program Files\\Orvika2\\Orvika2.exe";
    ASSERT_TRUE(RunKey().WriteString(kValue, old));
    EXPECT_TRUE(QueryAutostart());
    const auto environment = MakePlatformAppEnvironment();
    EXPECT_EQ(ProgramPathOfAutostartCommand(environment->AutostartValue().value_or(L"")), old);

    const std::wstring moved = L"D:\\New place\\Orvika2.exe";
    RefreshAutostart(moved);
    EXPECT_EQ(RunKey().ReadString(kValue), L"\"" + moved + L"\"");
    EXPECT_EQ(ProgramPathOfAutostartCommand(environment->AutostartValue().value_or(L"")), moved);
}

TEST_F(Autostart, AProgramPathThatCannotBeHadIsNeverWritten) {
    EXPECT_FALSE(SetAutostart(true, std::nullopt));
    EXPECT_FALSE(SetAutostart(true, L""));
    EXPECT_FALSE(QueryAutostart());

    ASSERT_TRUE(SetAutostart(true));
    const auto before = RunKey().ReadString(kValue);
    RefreshAutostart(std::nullopt);
    RefreshAutostart(L"");
    EXPECT_EQ(RunKey().ReadString(kValue), before) << "the old value stays";
}

class ScratchKey : public ::testing::Test {
protected:
    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kPath);
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Orvika2Tests");
    }
    static constexpr const wchar_t* kPath = L"Software\\Orvika2Tests\\Registry";
};

TEST_F(ScratchKey, StringsKeepTheirWholeLengthAndNul) {
    RegistryKey key = RegistryKey::Create(HKEY_CURRENT_USER, kPath, KEY_ALL_ACCESS);
    ASSERT_TRUE(key);
    const std::wstring path200 = L"C:\\" + std::wstring(185, L'\u00e9') + L"\\Orvika2.exe";
    ASSERT_EQ(path200.size(), 200u);
    ASSERT_TRUE(key.WriteString(L"long", path200));
    EXPECT_EQ(Stored(key.get(), L"long")->size, 402u);
    EXPECT_EQ(key.ReadString(L"long"), path200);

    // Data written by others need not end in a NUL.
    const wchar_t raw[] = {L'a', L'b', L'c'};
    ASSERT_EQ(RegSetValueExW(key.get(), L"raw", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw), sizeof(raw)),
              ERROR_SUCCESS);
    EXPECT_EQ(key.ReadString(L"raw"), L"abc");
    const DWORD number = 7;
    ASSERT_EQ(RegSetValueExW(key.get(), L"number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                             sizeof(number)),
              ERROR_SUCCESS);
    EXPECT_EQ(key.ReadString(L"number"), std::nullopt);
    EXPECT_TRUE(key.HasValue(L"number"));
    EXPECT_TRUE(key.DeleteValue(L"number"));
    EXPECT_FALSE(key.HasValue(L"number"));
    EXPECT_FALSE(key.DeleteValue(L"number"));

    RegistryKey missing = RegistryKey::Open(HKEY_CURRENT_USER, L"Software\\Orvika2Tests\\Missing", KEY_READ);
    EXPECT_FALSE(missing);
    EXPECT_FALSE(missing.HasValue(L"long"));
    EXPECT_FALSE(missing.WriteString(L"long", L"x"));
}

}  // namespace
}  // namespace orvika2
