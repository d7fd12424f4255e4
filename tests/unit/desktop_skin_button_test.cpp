#include <gtest/gtest.h>

#include "desktop/skin_button.h"

namespace orvika2 {
namespace {

TEST(SkinButtonKind, FromTheLowBitsOfTheStyle) {
    EXPECT_EQ(SkinButtonKindFromStyle(0x0), SkinButtonKind::PushButton);         // BS_PUSHBUTTON
    EXPECT_EQ(SkinButtonKindFromStyle(0x1), SkinButtonKind::PushButton);         // BS_DEFPUSHBUTTON
    EXPECT_EQ(SkinButtonKindFromStyle(0x2), SkinButtonKind::PushButton);         // BS_CHECKBOX
    EXPECT_EQ(SkinButtonKindFromStyle(0x3), SkinButtonKind::CheckBox);           // BS_AUTOCHECKBOX
    EXPECT_EQ(SkinButtonKindFromStyle(0x4), SkinButtonKind::PushButton);         // BS_RADIOBUTTON
    EXPECT_EQ(SkinButtonKindFromStyle(0x9), SkinButtonKind::RadioButton);        // BS_AUTORADIOBUTTON
    EXPECT_EQ(SkinButtonKindFromStyle(0x50010003), SkinButtonKind::CheckBox);    // with window styles
    EXPECT_EQ(SkinButtonKindFromStyle(0x50010009), SkinButtonKind::RadioButton);
    EXPECT_EQ(static_cast<int>(SkinButtonKind::RadioButton), 4);
}

TEST(SkinImage, DisabledBeforePushedBeforeHover) {
    struct Case {
        SkinPaintState state;
        SkinImage expected;
    };
    const Case cases[] = {
        {{}, SkinImage::Normal},
        {{.hover = true}, SkinImage::Over},
        {{.hover = true, .hasOverImage = false}, SkinImage::Normal},
        {{.selected = true, .hover = true}, SkinImage::Down},
        {{.checked = true}, SkinImage::Down},
        {{.disabled = true, .selected = true, .checked = true, .hover = true}, SkinImage::Disabled},
    };
    for (const auto& c : cases) EXPECT_EQ(SkinImageFor(c.state), c.expected);
}

TEST(SkinButtonPress, DraggingOffAndBackTogglesThePushedState) {
    EXPECT_EQ(PushedChangeWhileHeld(false, true), PushedChange::Release);
    EXPECT_EQ(PushedChangeWhileHeld(true, false), PushedChange::Push);
    EXPECT_EQ(PushedChangeWhileHeld(true, true), PushedChange::None);
    EXPECT_EQ(PushedChangeWhileHeld(false, false), PushedChange::None);
}

TEST(SkinButtonCheck, PushButtonsNeverCheckBoxesToggleRadiosCheck) {
    EXPECT_FALSE(CheckedAfterSetCheck(SkinButtonKind::PushButton, true));
    EXPECT_TRUE(CheckedAfterSetCheck(SkinButtonKind::CheckBox, true));
    EXPECT_FALSE(CheckedAfterSetCheck(SkinButtonKind::RadioButton, false));

    EXPECT_FALSE(CheckRequestOnRelease(SkinButtonKind::PushButton, false).send);
    const CheckRequest toggledOn = CheckRequestOnRelease(SkinButtonKind::CheckBox, false);
    EXPECT_TRUE(toggledOn.send);
    EXPECT_TRUE(toggledOn.checked);
    EXPECT_FALSE(CheckRequestOnRelease(SkinButtonKind::CheckBox, true).checked);
    EXPECT_TRUE(CheckRequestOnRelease(SkinButtonKind::RadioButton, true).checked);
}

}  // namespace
}  // namespace orvika2
