#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "app/wait_dialog.h"
#include "tests/support/fake_keyboard_layout.h"
#include "tests/support/sim_fixture.h"
#include "token/code_generator.h"

namespace orvika2 {
namespace {

using testing::SimToken;

constexpr std::array<std::uint8_t, 20> kKey{3, 1, 4, 1, 5, 9, 2, 6, 5, 3, 5, 8, 9, 7, 9, 3, 2, 3, 8, 4};

TEST(Countdown, CountsDownFromFifteenIntoNegativeNumbers) {
    Countdown countdown;
    EXPECT_EQ(countdown.Text(), L"15");
    EXPECT_FALSE(countdown.Announced());
    std::vector<std::wstring> shown, announced;
    for (int i = 0; i < 17; ++i) {
        countdown.Tick();
        shown.push_back(countdown.Text());
        if (countdown.Announced()) announced.push_back(countdown.Text());
    }
    EXPECT_EQ(shown.front(), L"14");
    EXPECT_EQ(shown[14], L"0");
    EXPECT_EQ(shown.back(), L"-2");
    EXPECT_EQ(announced, (std::vector<std::wstring>{L"10", L"5", L"0"}));
}

TEST(WaitDialogKeys, OnlyEnterAndEscapeKeyDownsAreFiltered) {
    constexpr std::uint32_t kKeyDown = 0x0100, kKeyUp = 0x0101, kChar = 0x0102;
    EXPECT_TRUE(FilteredKeyDown(kKeyDown, 0x0D));
    EXPECT_TRUE(FilteredKeyDown(kKeyDown, 0x1B));
    EXPECT_FALSE(FilteredKeyDown(kKeyUp, 0x0D));
    EXPECT_FALSE(FilteredKeyDown(kChar, 0x1B));
    EXPECT_FALSE(FilteredKeyDown(kKeyDown, 0x20));
    EXPECT_FALSE(FilteredKeyDown(kKeyDown, 0x09));
}

class FakeDialog final : public TouchWaitPort, public TypingPort {
public:
    void StepAside(bool handFocusBack) override { calls.push_back(handFocusBack ? "step-aside+focus" : "step-aside"); }
    TypingPort& Typing() override { return *this; }
    void CloseDialog() override { calls.push_back("close"); }
    // The dialog is in front when the touch comes, and then steps aside.
    bool OwnWindowInForeground() override { return focusStays || foregroundAsked++ == 0; }
    bool ModifierKeysDown() override { return false; }
    bool ForegroundOutranksUs() override { return false; }
    // Before the wait the target was in front; once the user goes elsewhere
    // another window is.
    WindowId ForegroundWindow() override { return userWentElsewhere ? kOther : kTarget; }
    TypingMethod Method() override { return TypingMethod::TopRow; }
    KeyboardLayout& ForegroundLayout() override { return layout; }
    bool SendKeys(std::span<const KeyEvent> events) override {
        calls.push_back("type");
        typed.assign(events.begin(), events.end());
        return true;
    }
    std::vector<std::string> calls;
    std::vector<KeyEvent> typed;
    bool focusStays = false;
    bool userWentElsewhere = false;
    testing::TableLayout layout;
    std::size_t foregroundAsked = 0;
    static constexpr WindowId kTarget = 0x50, kOther = 0x51;
};

// A touch profile's challenge, left pending in the token as the generator
// leaves it when it opens the dialog.
void PendingChallenge(SimToken& sim, CodeShape shape = {}) {
    sim.InstallTwoStep(1, kKey, true);
    ASSERT_EQ(GenerateVerificationCode(sim.ports(), 1, shape).action, CodeAction::AwaitTouch);
}

TEST(WaitForTouchWorker, ATouchTypesTheCodeAndClosesTheDialog) {
    for (const CodeShape shape : {CodeShape{}, CodeShape{8, 60}, CodeShape{7, 15}}) {
        SCOPED_TRACE(shape.digits);
        SimToken sim;
        sim.clock.SetUnixSeconds(1111111100);
        PendingChallenge(sim, shape);
        // Touched at once: the fake clock does not move while the worker polls.
        sim.state.autoTouchMs = 0;
        FakeDialog dialog;
        std::atomic<bool> cancelled{false};
        const auto attempt = WaitForTouchWorker(sim.ports(), cancelled, dialog, FakeDialog::kTarget, shape.digits);
        ASSERT_TRUE(attempt);
        EXPECT_EQ(attempt->result, TypingResult::Typed);
        EXPECT_EQ(dialog.calls, (std::vector<std::string>{"step-aside+focus", "type", "close"}));
        // The code of the same time step from a profile that needs no touch.
        SimToken plain;
        plain.clock.SetUnixSeconds(1111111100);
        plain.InstallTwoStep(1, kKey);
        const CodeOutcome expected = GenerateVerificationCode(plain.ports(), 1, shape);
        // In the method the user chose.
        EXPECT_EQ(dialog.typed, KeysForDigits(expected.code.Text(), TypingMethod::TopRow, dialog.layout));
        EXPECT_EQ(dialog.typed.size(), 2u * shape.digits);
        EXPECT_EQ(attempt->code, expected.code);
    }
}

// The focus stays where the user went, and the code is not typed there.
TEST(WaitForTouchWorker, AUserGoneToAnotherWindowIsNotTypedInto) {
    SimToken sim;
    PendingChallenge(sim);
    sim.state.autoTouchMs = 0;
    FakeDialog dialog;
    dialog.foregroundAsked = 1;  // another program's window is in front
    dialog.userWentElsewhere = true;
    std::atomic<bool> cancelled{false};
    const auto attempt = WaitForTouchWorker(sim.ports(), cancelled, dialog, FakeDialog::kTarget);
    ASSERT_TRUE(attempt);
    EXPECT_EQ(attempt->result, TypingResult::WrongWindow);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"step-aside", "close"}));
}

TEST(WaitForTouchWorker, ATokenGoneClosesWithoutTyping) {
    SimToken sim;
    PendingChallenge(sim);
    sim.ArmFaults(SimFaults{.vanishAfterReports = 0});
    FakeDialog dialog;
    std::atomic<bool> cancelled{false};
    EXPECT_FALSE(WaitForTouchWorker(sim.ports(), cancelled, dialog, FakeDialog::kTarget));
    EXPECT_EQ(dialog.calls, std::vector<std::string>{"close"});
}

TEST(WaitForTouchWorker, FocusLeftOnOurWindowsTypesNothing) {
    SimToken sim;
    PendingChallenge(sim);
    sim.state.autoTouchMs = 0;
    FakeDialog dialog;
    dialog.focusStays = true;
    std::atomic<bool> cancelled{false};
    const auto attempt = WaitForTouchWorker(sim.ports(), cancelled, dialog, FakeDialog::kTarget);
    ASSERT_TRUE(attempt);
    EXPECT_EQ(attempt->result, TypingResult::FocusStayed);
    EXPECT_TRUE(dialog.typed.empty());
    EXPECT_EQ(dialog.calls.front(), "step-aside+focus");
    EXPECT_EQ(dialog.calls.back(), "close");
}

TEST(WaitForTouchWorker, ClosingEarlyResetsTheTokenAndTheWorkerEndsWithoutTyping) {
    SimToken sim;
    PendingChallenge(sim);
    ASSERT_TRUE(sim.state.exchange.touchWaitSinceMs.has_value());
    EndTouchWait(sim.ports());
    EXPECT_FALSE(sim.state.exchange.touchWaitSinceMs.has_value());
    // A touch after the reset releases nothing.
    sim.state.autoTouchMs = 0;
    FakeDialog dialog;
    std::atomic<bool> cancelled{true};
    EXPECT_FALSE(WaitForTouchWorker(sim.ports(), cancelled, dialog, FakeDialog::kTarget));
    EXPECT_TRUE(dialog.calls.empty());

    std::atomic<bool> running{false};
    EXPECT_FALSE(WaitForTouchWorker(sim.ports(), running, dialog, FakeDialog::kTarget));
    EXPECT_EQ(dialog.calls, std::vector<std::string>{"close"});
}

TEST(WaitForTouchWorker, EndingAWaitOfAnIdleTokenSendsNoReset) {
    SimToken sim;
    sim.InstallTwoStep(1, kKey, true);
    const auto before = sim.state.sequence;
    EndTouchWait(sim.ports());
    EXPECT_EQ(sim.state.sequence, before);
    EXPECT_FALSE(sim.state.exchange.touchWaitSinceMs.has_value());
    EXPECT_EQ(GenerateVerificationCode(sim.ports(), 1).action, CodeAction::AwaitTouch);
}

}  // namespace
}  // namespace orvika2
