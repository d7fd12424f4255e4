#include <gtest/gtest.h>

#include "desktop/balloon.h"

namespace orvika2 {
namespace {

TEST(BalloonKeys, ModifiersPassNavigationKeysAreSwallowedOthersTypeAndClose) {
    for (std::uint32_t key : {0x10u, 0x11u, 0x12u}) EXPECT_EQ(ClassifyBalloonKey(0, key, true), BalloonKey::PassOn);
    for (std::uint32_t key : {0x1Bu, 0x0Du, 0x09u, 0x25u, 0x26u, 0x27u, 0x28u, 0x70u, 0x87u}) {
        EXPECT_EQ(ClassifyBalloonKey(0, key, true), BalloonKey::CloseSwallow) << key;
    }
    for (std::uint32_t key : {0x41u, 0x20u, 0x88u, 0x6Fu, 0x24u, 0x29u, 0x2Eu}) {
        EXPECT_EQ(ClassifyBalloonKey(0, key, true), BalloonKey::PassOnAndClose) << key;
    }
    EXPECT_EQ(ClassifyBalloonKey(0, 0x0D, false), BalloonKey::PassOn);   // key release
    EXPECT_EQ(ClassifyBalloonKey(-1, 0x0D, true), BalloonKey::PassOn);   // negative hook code
    EXPECT_EQ(ClassifyBalloonKey(3, 0x41, true), BalloonKey::PassOnAndClose);
}

TEST(BalloonMouse, ButtonPressesAndTheWheelClose) {
    for (std::uint32_t message : {0x0201u, 0x0204u, 0x0207u, 0x00A1u, 0x00A4u, 0x00A7u, 0x020Au}) {
        EXPECT_TRUE(MouseMessageClosesBalloon(0, message)) << message;
    }
    for (std::uint32_t message : {0x0200u, 0x0202u, 0x0203u, 0x0205u, 0x00A0u, 0x020Eu}) {
        EXPECT_FALSE(MouseMessageClosesBalloon(0, message)) << message;
    }
    EXPECT_FALSE(MouseMessageClosesBalloon(-1, 0x0201));
}

TEST(BalloonWindowMessages, LosingActivationOrFocusScrollsMenusAndSystemCommandsClose) {
    for (std::uint32_t message : {0x0008u, 0x0021u, 0x0112u, 0x0114u, 0x0115u, 0x0211u}) {
        EXPECT_TRUE(WindowMessageClosesBalloon(message, 0, false)) << message;
    }
    EXPECT_TRUE(WindowMessageClosesBalloon(0x0006, 0, false));            // WA_INACTIVE
    EXPECT_TRUE(WindowMessageClosesBalloon(0x0006, 0x00010000u, false));  // the high word is not the state
    EXPECT_FALSE(WindowMessageClosesBalloon(0x0006, 1, false));           // WA_ACTIVE
    EXPECT_FALSE(WindowMessageClosesBalloon(0x0006, 2, false));           // WA_CLICKACTIVE
    EXPECT_FALSE(WindowMessageClosesBalloon(0x0008, 0x1234, true));       // the focus goes to the owner's control
    for (std::uint32_t message : {0x0005u, 0x0007u, 0x0047u, 0x0100u}) {
        EXPECT_FALSE(WindowMessageClosesBalloon(message, 0, false)) << message;
    }
}

TEST(BalloonSetting, OnlyAReadZeroTurnsBalloonTipsOff) {
    EXPECT_TRUE(BalloonTipsAllowed(std::nullopt));
    EXPECT_FALSE(BalloonTipsAllowed(0u));
    EXPECT_TRUE(BalloonTipsAllowed(1u));
    EXPECT_TRUE(BalloonTipsAllowed(0xFFFFFFFFu));
}

TEST(BalloonLook, BalloonShapeNeedsTheSettingAndTheRequest) {
    const BalloonLook balloon = BalloonLookFor(true, true);
    EXPECT_EQ(balloon.tooltipStyle, 0x800000F3u);
    EXPECT_EQ(balloon.toolFlags, 0x22u);
    EXPECT_TRUE(balloon.pointAtCentre);
    for (const auto& plain : {BalloonLookFor(false, true), BalloonLookFor(true, false), BalloonLookFor(false, false)}) {
        EXPECT_EQ(plain.tooltipStyle, 0x800000B3u);
        EXPECT_EQ(plain.toolFlags, 0x20u);
        EXPECT_FALSE(plain.pointAtCentre);
    }
}

TEST(BalloonPosition, CentreOrTopLeftOfTheAnchorPackedIntoWords) {
    EXPECT_EQ(BalloonTrackPoint(1080, 715, 1112, 747, true), (AnchorPoint{1096, 731}));
    EXPECT_EQ(BalloonTrackPoint(1080, 715, 1113, 748, true), (AnchorPoint{1096, 731}));
    EXPECT_EQ(BalloonTrackPoint(1080, 715, 1112, 747, false), (AnchorPoint{1080, 715}));
    // Halves round toward zero on a monitor left of the primary one.
    EXPECT_EQ(BalloonTrackPoint(-11, -5, 0, 0, true), (AnchorPoint{-6, -3}));
    EXPECT_EQ(PackTrackPosition({1096, 731}), (731u << 16) | 1096u);
    EXPECT_EQ(PackTrackPosition({-6, -3}), 0xFFFDFFFAu);
}

TEST(BalloonText, CutToTheBufferLimits) {
    EXPECT_EQ(CutBalloonText(std::wstring(600, L'x'), kBalloonTitleMax).size(), 498u);
    EXPECT_EQ(CutBalloonText(std::wstring(5000, L'x'), kBalloonTextMax).size(), 3998u);
    EXPECT_EQ(CutBalloonText(L"Reminder", kBalloonTitleMax), L"Reminder");
}

}  // namespace
}  // namespace orvika2
