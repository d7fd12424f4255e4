#include <gtest/gtest.h>

#include <map>

#include "dialogs/hotkey_page.h"
#include "tests/support/memory_profile_store.h"

namespace orvika2 {
namespace {

using testing::MemoryProfileStore;
using Write = MemoryProfileStore::Write;

const std::wstring kFile = L"config.ini";

TEST(HotkeyModifiers, ShiftAndAltTradePlacesControlStaysTheFourthBitIsDropped) {
    const struct {
        std::uint8_t flags;
        int modifiers;
    } controlToStored[] = {
        {0, 0}, {kHotkeyfShift, 4}, {kHotkeyfControl, 2}, {kHotkeyfAlt, 1}, {kHotkeyfExt, 0},
        {kHotkeyfControl | kHotkeyfShift, 6}, {kHotkeyfAlt | kHotkeyfExt, 1}, {0x0F, 7},
    };
    for (const auto& c : controlToStored) EXPECT_EQ(RegisterModifiers(c.flags), c.modifiers) << int{c.flags};

    const struct {
        int modifiers;
        std::uint8_t flags;
    } storedToControl[] = {
        {0, 0}, {1, kHotkeyfAlt}, {2, kHotkeyfControl}, {4, kHotkeyfShift}, {8, 0},
        {9, kHotkeyfAlt}, {6, kHotkeyfControl | kHotkeyfShift}, {15, 7},
    };
    for (const auto& c : storedToControl) EXPECT_EQ(HotkeyControlFlags(c.modifiers), c.flags) << c.modifiers;

    for (int flags = 0; flags < 16; ++flags) {
        const auto f = static_cast<std::uint8_t>(flags);
        EXPECT_EQ(HotkeyControlFlags(RegisterModifiers(f)), flags & 7) << flags;
    }
}

TEST(HotkeyControlWord, KeyInTheLowByteFlagsInTheHighByte) {
    const HotkeyControlValue ctrlQ{0x51, kHotkeyfControl};
    EXPECT_EQ(ctrlQ.Packed(), 0x0251);
    EXPECT_EQ(HotkeyControlValue::FromPacked(0x0570), (HotkeyControlValue{0x70, kHotkeyfShift | kHotkeyfAlt}));
}

TEST(HotkeyPage, StoredHotkeysShowAsTheControlTakesThem) {
    const struct {
        const wchar_t* key;
        const wchar_t* modifiers;
        HotkeyControlValue shown;
    } cases[] = {
        {L"81", L"2", {0x51, kHotkeyfControl}},
        {L"83", L"9", {0x53, kHotkeyfAlt}},  // MOD_WIN has no place in the control
        {L"337", L"1", {0x51, kHotkeyfAlt}},  // the key's low 8 bits
        {L"65617", L"65540", {0x51, kHotkeyfShift}},
        {L"", L"", {0, 0}},
        {L"F1", L"ctrl", {0, 0}},
    };
    for (const auto& c : cases) {
        MemoryProfileStore store;
        store.Put(kFile, L"HotKey_Switch", L"VirtualKeyCode", c.key);
        store.Put(kFile, L"HotKey_Switch", L"fsModifiers", c.modifiers);
        const HotkeyPageValues values = ReadHotkeyPageValues(store, kFile);
        EXPECT_EQ(values.switchProfile, c.shown) << c.key << " " << c.modifiers;
        EXPECT_EQ(values.code, (HotkeyControlValue{})) << "the other hotkey is missing";
    }
}

TEST(HotkeyPage, ApplyStoresKeyThenModifiersAndShowsOnlyItsMark) {
    MemoryProfileStore store;
    const StatusMarks code =
        ApplyHotkey(store, kFile, HotkeyRole::VerificationCode, {0x70, kHotkeyfControl | kHotkeyfShift});
    EXPECT_EQ(code, (StatusMarks{.codeShown = true, .switchShown = false}));
    EXPECT_EQ(store.writes, (std::vector<Write>{{kFile, L"HotKey_OTP", L"VirtualKeyCode", L"112"},
                                                {kFile, L"HotKey_OTP", L"fsModifiers", L"6"}}));

    store.writes.clear();
    const StatusMarks switchMark = ApplyHotkey(store, kFile, HotkeyRole::SwitchProfile, {});
    EXPECT_EQ(switchMark, (StatusMarks{.codeShown = false, .switchShown = true}));
    EXPECT_EQ(store.writes, (std::vector<Write>{{kFile, L"HotKey_Switch", L"VirtualKeyCode", L"0"},
                                                {kFile, L"HotKey_Switch", L"fsModifiers", L"0"}}));
}

TEST(HotkeyPage, AStoredAltWinComesBackAsAlt) {
    MemoryProfileStore store;
    store.Put(kFile, L"HotKey_OTP", L"VirtualKeyCode", L"65");
    store.Put(kFile, L"HotKey_OTP", L"fsModifiers", L"9");
    ApplyHotkey(store, kFile, HotkeyRole::VerificationCode, ReadHotkeyPageValues(store, kFile).code);
    EXPECT_EQ(store.Get(kFile, L"HotKey_OTP", L"fsModifiers"), L"1");
    EXPECT_EQ(store.Get(kFile, L"HotKey_OTP", L"VirtualKeyCode"), L"65");
}

TEST(HotkeyPage, RestoreDefaultsWritesCtrlQAndAltSAndHidesBothMarks) {
    MemoryProfileStore store;
    const RestoredHotkeys restored = RestoreHotkeyDefaults(store, kFile);
    EXPECT_EQ(restored.values.code, (HotkeyControlValue{0x51, kHotkeyfControl}));
    EXPECT_EQ(restored.values.switchProfile, (HotkeyControlValue{0x53, kHotkeyfAlt}));
    EXPECT_EQ(restored.marks, StatusMarks{});
    EXPECT_EQ(store.writes, (std::vector<Write>{{kFile, L"HotKey_OTP", L"VirtualKeyCode", L"81"},
                                                {kFile, L"HotKey_OTP", L"fsModifiers", L"2"},
                                                {kFile, L"HotKey_Switch", L"VirtualKeyCode", L"83"},
                                                {kFile, L"HotKey_Switch", L"fsModifiers", L"1"}}));
}

// The system's start-up state, in memory.
class FakeStartup final : public StartupServices {
public:
    bool QueryAutostart() override { return autostart; }
    bool SetAutostart(bool enabled) override {
        calls.push_back(enabled ? L"autostart on" : L"autostart off");
        if (refuse) return false;
        autostart = enabled;
        return true;
    }
    std::wstring DesktopFolder() override { return L"C:\\Users\\u\\Desktop"; }
    std::wstring StartMenuFolder() override { return L"C:\\Users\\u\\Programs"; }
    bool ShortcutExists(const std::wstring& linkPath) override { return links.count(linkPath) > 0; }
    bool CreateShortcut(const std::wstring& linkPath) override {
        calls.push_back(L"create " + linkPath);
        if (refuse) return false;
        links[linkPath] = true;
        return true;
    }
    bool RemoveShortcut(const std::wstring& linkPath) override {
        calls.push_back(L"remove " + linkPath);
        return !refuse && links.erase(linkPath) > 0;
    }

    bool autostart = false;
    bool refuse = false;
    std::map<std::wstring, bool> links;
    std::vector<std::wstring> calls;
};

TEST(HotkeyPage, TheLineNamesTheHotkeysAnotherProgramHolds) {
    const std::wstring text = L"Taken: %1";
    EXPECT_EQ(TakenHotkeysLine({}, text), L"");
    EXPECT_EQ(TakenHotkeysLine({{'Q', 2}}, text), L"Taken: Ctrl+Q");
    EXPECT_EQ(TakenHotkeysLine({{'Q', 2}, {0x75, 5}}, text), L"Taken: Ctrl+Q, Alt+Shift+F6");
}

TEST(StartupOptions, TheBoxesShowTheSystemsState) {
    FakeStartup system;
    EXPECT_EQ(ReadStartupChecks(system), StartupChecks{});
    system.autostart = true;
    system.links[L"C:\\Users\\u\\Programs\\Orvika2.lnk"] = true;
    EXPECT_EQ(ReadStartupChecks(system),
              (StartupChecks{.autostart = true, .desktopShortcut = false, .startMenuShortcut = true}));
    system.links[L"C:\\Users\\u\\Desktop\\Orvika2.lnk"] = true;
    EXPECT_TRUE(ReadStartupChecks(system).desktopShortcut);
}

TEST(StartupOptions, EachBoxActsAtOnceOnItsOwnOption) {
    const struct {
        int box;
        bool checked;
        const wchar_t* call;
    } cases[] = {
        {IDC_AUTOSTART_CHECK, true, L"autostart on"},
        {IDC_AUTOSTART_CHECK, false, L"autostart off"},
        {IDC_DESKTOP_CHECK, true, L"create C:\\Users\\u\\Desktop\\Orvika2.lnk"},
        {IDC_DESKTOP_CHECK, false, L"remove C:\\Users\\u\\Desktop\\Orvika2.lnk"},
        {IDC_START_MENU_CHECK, true, L"create C:\\Users\\u\\Programs\\Orvika2.lnk"},
        {IDC_START_MENU_CHECK, false, L"remove C:\\Users\\u\\Programs\\Orvika2.lnk"},
    };
    for (const auto& c : cases) {
        FakeStartup system;
        system.links[L"C:\\Users\\u\\Desktop\\Orvika2.lnk"] = true;
        system.links[L"C:\\Users\\u\\Programs\\Orvika2.lnk"] = true;
        EXPECT_EQ(ToggleStartupOption(system, c.box, c.checked), 0) << c.call;
        EXPECT_EQ(system.calls, std::vector<std::wstring>{c.call});

        FakeStartup refusing;
        refusing.refuse = true;
        EXPECT_EQ(ToggleStartupOption(refusing, c.box, c.checked), IDS_OPERATION_FAILED) << c.call;
    }
}

}  // namespace
}  // namespace orvika2
