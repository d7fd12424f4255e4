#include <gtest/gtest.h>

#include "app/hotkey_dispatch.h"

#include <optional>
#include <string>
#include <vector>

#include "resources/string_ids.h"
#include "ui/ui_strings.h"

namespace orvika2 {
namespace {

constexpr Hotkey kCtrlQ{81, 2};
constexpr Hotkey kAltS{83, 1};
constexpr unsigned kActive = 8;
constexpr unsigned kUsable = 0;
constexpr unsigned kDisabled = 2;
constexpr unsigned kGrayed = 3;  // grayed and disabled, as unusable profile items are

TEST(HotkeyDispatch, CodeHotkeyActsOnlyWhileTheCodeButtonIsEnabled) {
    EXPECT_EQ(DispatchHotkey(kCtrlQ, kCtrlQ, kAltS, true, kActive, kUsable), HotkeyAction::CodeButton);
    EXPECT_EQ(DispatchHotkey(kCtrlQ, kCtrlQ, kAltS, false, kActive, kUsable), HotkeyAction::None);
}

TEST(HotkeyDispatch, SwitchHotkeyTogglesBetweenUsableProfiles) {
    EXPECT_EQ(DispatchHotkey(kAltS, kCtrlQ, kAltS, true, kActive, kUsable), HotkeyAction::SelectProfile2);
    EXPECT_EQ(DispatchHotkey(kAltS, kCtrlQ, kAltS, true, kUsable, kActive), HotkeyAction::SelectProfile1);
    EXPECT_EQ(DispatchHotkey(kAltS, kCtrlQ, kAltS, true, kActive, kDisabled), HotkeyAction::None);
    EXPECT_EQ(DispatchHotkey(kAltS, kCtrlQ, kAltS, true, kUsable, kUsable), HotkeyAction::None);
    EXPECT_EQ(DispatchHotkey(kAltS, kCtrlQ, kAltS, true, kDisabled, kDisabled), HotkeyAction::None);
    EXPECT_EQ(DispatchHotkey(kAltS, kCtrlQ, kAltS, true, kActive, kGrayed), HotkeyAction::None);
    EXPECT_EQ(DispatchHotkey(kAltS, kCtrlQ, kAltS, true, kGrayed, kActive), HotkeyAction::None);
    // A check mark on a grayed item does not make it the active profile.
    EXPECT_EQ(DispatchHotkey(kAltS, kCtrlQ, kAltS, true, kActive | kGrayed, kUsable), HotkeyAction::None);
}

TEST(HotkeyDispatch, SameCombinationForBothActsAsTheCodeHotkey) {
    EXPECT_EQ(DispatchHotkey(kCtrlQ, kCtrlQ, kCtrlQ, true, kActive, kUsable), HotkeyAction::CodeButton);
    // The code combination never falls through to the switch, even disabled.
    EXPECT_EQ(DispatchHotkey(kCtrlQ, kCtrlQ, kCtrlQ, false, kActive, kUsable), HotkeyAction::None);
}

TEST(HotkeyDispatch, OtherCombinationsAndModifierMismatchesDoNothing) {
    EXPECT_EQ(DispatchHotkey({81, 6}, kCtrlQ, kAltS, true, kActive, kUsable), HotkeyAction::None);
    EXPECT_EQ(DispatchHotkey({83, 2}, kCtrlQ, kAltS, true, kActive, kUsable), HotkeyAction::None);
    // A missing hotkey reads as 0/0 and never matches a real press.
    EXPECT_EQ(DispatchHotkey(kAltS, {}, {}, true, kActive, kUsable), HotkeyAction::None);
}

// A hotkey another program holds is named once, with its combination: at
// start-up, then only when it changed or failed anew.
TEST(HotkeyDispatch, HotkeysThatCannotBeRegisteredAreNamedOnce) {
    const StringSource en = [](int id) { return UiString(id, kLangEnglish); };
    const std::wstring codeTaken = UiString(IDS_CODE_HOTKEY_TAKEN, kLangEnglish);
    const std::wstring ctrlQ = codeTaken.substr(0, codeTaken.find(L"%1")) + L"Ctrl+Q" +
                               codeTaken.substr(codeTaken.find(L"%1") + 2);
    const HotkeyRegistrations bothTaken{{{kCtrlQ, false}, {kAltS, false}}};
    const HotkeyRegistrations fine{{{kCtrlQ, true}, {kAltS, true}}};
    const HotkeyRegistrations codeTakenOnly{{{kCtrlQ, false}, {kAltS, true}}};
    struct Row {
        const char* name;
        std::optional<HotkeyRegistrations> previous;
        HotkeyRegistrations now;
        std::size_t messages;
    };
    const std::vector<Row> rows{
        {"start-up, both taken", std::nullopt, bothTaken, 2},
        {"start-up, all registered", std::nullopt, fine, 0},
        {"settings closed, nothing changed", bothTaken, bothTaken, 0},
        {"settings closed, a taken one newly chosen", fine, codeTakenOnly, 1},
        {"settings closed, another taken combination", codeTakenOnly, {{{{'Q', 6}, false}, {kAltS, true}}}, 1},
        {"an empty hotkey is not registered and not named", std::nullopt, {{{{}, false}, {kAltS, true}}}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(HotkeyTakenMessages(row.previous, row.now, en).size(), row.messages);
    }
    EXPECT_EQ(HotkeyTakenMessages(std::nullopt, codeTakenOnly, en),
              (std::vector<HotkeyTakenMessage>{{IDS_CODE_HOTKEY_TAKEN, ctrlQ}}));
    const auto zh = HotkeyTakenMessages(std::nullopt, {{{kCtrlQ, true}, {{'S', 5}, false}}},
                                        [](int id) { return UiString(id, kLangTraditionalChinese); });
    ASSERT_EQ(zh.size(), 1u);
    EXPECT_EQ(zh.front().messageId, IDS_SWITCH_HOTKEY_TAKEN);
    EXPECT_NE(zh.front().text.find(L"Alt+Shift+S"), std::wstring::npos);
    EXPECT_EQ(zh.front().text.find(L"%1"), std::wstring::npos);
}

}  // namespace
}  // namespace orvika2
