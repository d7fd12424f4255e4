#include <gtest/gtest.h>

#include "app/hotkey_dispatch.h"

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

}  // namespace
}  // namespace orvika2
