#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/code_button.h"
#include "platform/sim/sim_factory.h"
#include "resources/resource.h"
#include "tests/support/fake_keyboard_layout.h"
#include "tests/support/sim_fixture.h"
#include "token/verification_code.h"

namespace orvika2 {
namespace {

using testing::FakeClock;
using testing::SimToken;

// Each query answers from its script, then repeats the script's last answer.
class FakeTyping final : public TypingPort {
public:
    bool OwnWindowInForeground() override { return Next(foreground, foregroundAsked); }
    bool ModifierKeysDown() override { return Next(modifiers, modifiersAsked); }
    bool ForegroundOutranksUs() override { return elevatedTarget; }
    WindowId ForegroundWindow() override { return window; }
    TypingMethod Method() override { return TypingMethod::Keypad; }
    KeyboardLayout& ForegroundLayout() override { return layout; }
    bool SendKeys(std::span<const KeyEvent> events) override {
        sent.emplace_back(events.begin(), events.end());
        return accepts;
    }

    std::vector<bool> foreground{false};
    std::vector<bool> modifiers{false};
    bool accepts = true;
    bool elevatedTarget = false;
    WindowId window = 0x50;  // the window in front once ours is left
    testing::TableLayout layout;
    std::size_t foregroundAsked = 0, modifiersAsked = 0;
    std::vector<std::vector<KeyEvent>> sent;

private:
    static bool Next(const std::vector<bool>& script, std::size_t& asked) {
        return script[std::min(asked++, script.size() - 1)];
    }
};

std::vector<std::uint16_t> KeysDown(const std::vector<KeyEvent>& events) {
    std::vector<std::uint16_t> keys;
    for (const KeyEvent& event : events) {
        if (!event.keyUp) keys.push_back(event.virtualKey);
    }
    return keys;
}

TEST(TypeCodeWhenReady, WaitsForFocusAndModifiersWithinTheirBounds) {
    struct Case {
        std::vector<bool> foreground, modifiers;
        FocusRule rule;
        TypingResult result;
        bool modifiersLookedAt;
        WindowId target = 0;
    };
    const std::vector<Case> cases{
        {{false}, {false}, FocusRule::MustLeaveOwnWindows, TypingResult::Typed, true},
        {{true, true, true, false}, {false}, FocusRule::MustLeaveOwnWindows, TypingResult::Typed, true},
        {{true}, {false}, FocusRule::MustLeaveOwnWindows, TypingResult::FocusStayed, false},
        {{true}, {false}, FocusRule::Anywhere, TypingResult::Typed, true},
        {{false}, {true, true, false}, FocusRule::MustLeaveOwnWindows, TypingResult::Typed, true},
        // Keys still held after their bound: the target would get Ctrl+digits.
        {{false}, {true}, FocusRule::MustLeaveOwnWindows, TypingResult::ModifiersHeld, true},
        {{false}, {false}, FocusRule::MustLeaveOwnWindows, TypingResult::Typed, true, 0x50},
        // Another window came in front meanwhile: it is not typed into.
        {{false}, {false}, FocusRule::MustLeaveOwnWindows, TypingResult::WrongWindow, true, 0x51},
        {{true, false}, {false}, FocusRule::Anywhere, TypingResult::WrongWindow, true, 0x51},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        FakeTyping port;
        port.foreground = cases[i].foreground;
        port.modifiers = cases[i].modifiers;
        FakeClock clock;
        EXPECT_EQ(TypeCodeWhenReady(port, clock, VerificationCode{321}, cases[i].rule, cases[i].target),
                  cases[i].result);
        EXPECT_EQ(port.sent.size(), cases[i].result == TypingResult::Typed ? 1u : 0u);
        EXPECT_EQ(port.modifiersAsked > 0, cases[i].modifiersLookedAt);
        // Bounded: about three seconds for the focus and one for the keys.
        EXPECT_LE(clock.TotalSleptMs(), 4100u);
    }
}

TEST(TypeCodeWhenReady, TypesTheKeypadDigitsInOneBatchOnceTheKeysAreUp) {
    FakeTyping port;
    port.modifiers = {true, true, false};
    FakeClock clock;
    EXPECT_EQ(TypeCodeWhenReady(port, clock, VerificationCode{321}, FocusRule::MustLeaveOwnWindows, 0),
              TypingResult::Typed);
    ASSERT_EQ(port.sent.size(), 1u);
    EXPECT_EQ(KeysDown(port.sent.front()), (std::vector<std::uint16_t>{0x60, 0x60, 0x60, 0x63, 0x62, 0x61}));
    EXPECT_EQ(port.modifiersAsked, 3u);
    port.accepts = false;
    EXPECT_EQ(TypeCodeWhenReady(port, clock, VerificationCode{1}, FocusRule::Anywhere, 0), TypingResult::SendFailed);
    port.elevatedTarget = true;
    EXPECT_EQ(TypeCodeWhenReady(port, clock, VerificationCode{1}, FocusRule::Anywhere, 0), TypingResult::TargetElevated);
    EXPECT_EQ(port.sent.size(), 2u);
}

TEST(TypeCodeWhenReady, ATargetOfHigherOrUnknownIntegrityBlocksTheKeys) {
    constexpr std::uint32_t kLow = 0x1000, kHigh = 0x3000, kSystem = 0x4000;
    struct Case {
        std::optional<std::uint32_t> target, own;
        bool blocked;
    };
    const std::vector<Case> cases{
        {kMediumIntegrity, kMediumIntegrity, false}, {kLow, kMediumIntegrity, false},
        {kHigh, kMediumIntegrity, true},             {kHigh, kHigh, false},
        {kSystem, kHigh, true},                      {std::nullopt, kHigh, true},
        {kHigh, std::nullopt, true},                 {kMediumIntegrity, std::nullopt, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IntegrityBlocksTyping(c.target, c.own), c.blocked)
            << c.target.value_or(0) << " from " << c.own.value_or(0);
    }
}

// The main window as the handler uses it.
class FakeButtonWindow final : public CodeButtonPort {
public:
    unsigned MenuItemState(int command) override { return states[command]; }
    bool OtpWindowExists() override { return otpWindow; }
    bool BringTouchWaitForward() override {
        if (touchWaitRunning) calls.push_back("countdown-forward");
        return touchWaitRunning;
    }
    WindowId RequestingWindow() override { return requesting; }
    void HideWindow() override { calls.push_back("hide"); }
    void ShowWindowNormally() override { calls.push_back("show"); }
    void ShowWindowWithoutActivation() override { calls.push_back("show-noactivate"); }
    void ShowMessageBox(const std::wstring& text, unsigned flags) override {
        calls.push_back("box");
        boxes.push_back(text);
        boxFlags.push_back(flags);
    }
    bool AskYesNo(const std::wstring& text, unsigned flags) override {
        calls.push_back("ask");
        boxes.push_back(text);
        boxFlags.push_back(flags);
        return answerYes;
    }
    bool CopyCodeToClipboard(const VerificationCode& code) override {
        calls.push_back("copy");
        if (clipboardWorks) copied.push_back(code);
        return clipboardWorks;
    }
    std::optional<TypingAttempt> RunTouchWait(int profile, int digits, WindowId target) override {
        calls.push_back("wait");
        waitedFor = profile;
        waitedDigits = digits;
        waitTarget = target;
        return touchAttempt;
    }
    TypingPort& Typing() override { return typing; }

    std::map<int, unsigned> states{{ID_PROFILE_1, 8}, {ID_PROFILE_2, 0}};
    bool otpWindow = false;
    bool touchWaitRunning = false;
    WindowId requesting = 0;  // a click
    WindowId waitTarget = 0;
    std::vector<std::string> calls;
    std::vector<std::wstring> boxes;
    std::vector<unsigned> boxFlags;
    int waitedFor = 0;
    int waitedDigits = 0;
    CodeShape shape;
    std::vector<int> shapeAskedFor;
    CodeShapeSource shapes = [this](int profile) {
        shapeAskedFor.push_back(profile);
        return shape;
    };
    bool answerYes = true;
    bool clipboardWorks = true;
    std::vector<VerificationCode> copied;
    std::optional<TypingAttempt> touchAttempt;
    FakeTyping typing;
};

constexpr std::array<std::uint8_t, 20> kKey{9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0};

std::wstring En(int id) { return UiString(id, kLangEnglish); }

TEST(CodeButton, TheActiveProfileIsTheItemWhoseWholeStateIsChecked) {
    struct Case {
        unsigned state1, state2;
        int profile;
    };
    for (const Case& c : std::vector<Case>{{8, 0, 1}, {0, 8, 2}, {8, 8, 1}, {0, 0, 0}, {10, 0, 0}, {2, 10, 0},
                                                  {3, 8, 2}, {11, 0, 0}, {3, 11, 0}}) {
        FakeButtonWindow window;
        window.states = {{ID_PROFILE_1, c.state1}, {ID_PROFILE_2, c.state2}};
        EXPECT_EQ(ActiveProfile(window), c.profile) << c.state1 << "/" << c.state2;
    }
}

// Numeric-keypad presses and releases of the digits, as the fake layout gives them.
std::vector<KeyEvent> KeypadKeys(std::string_view digits) {
    testing::TableLayout layout;
    return KeysForDigits(digits, TypingMethod::Keypad, layout);
}

TEST(CodeButton, TypesTheCodeOfTheActiveProfileInItsShape) {
    // RFC 6238's SHA-1 key and vectors; step 1 of 60 s or 15 s steps is
    // step 1 of 30 s ones.
    std::array<std::uint8_t, 20> rfcKey{};
    std::ranges::copy(std::string_view("12345678901234567890"), rfcKey.begin());
    struct Case {
        int profile;
        CodeShape shape;
        std::int64_t at;
        std::string_view typed;
    };
    // Times inside their step: the sessions' reports take fake time too.
    for (const Case& c : std::vector<Case>{{1, {}, 45, "287082"},
                                           {2, {}, 45, "287082"},
                                           {1, {8, 30}, 45, "94287082"},
                                           {2, {8, 30}, 1111111090, "07081804"},
                                           {1, {8, 60}, 90, "94287082"},
                                           {2, {7, 60}, 100, "4287082"},
                                           {1, {6, 15}, 20, "287082"}}) {
        SCOPED_TRACE(std::string(c.typed));
        SimToken sim;
        sim.InstallTwoStep(c.profile, rfcKey);
        sim.clock.SetUnixSeconds(c.at);
        FakeButtonWindow window;
        window.states = {{ID_PROFILE_1, c.profile == 1 ? 8u : 0u}, {ID_PROFILE_2, c.profile == 2 ? 8u : 0u}};
        window.shape = c.shape;
        RunCodeButton(window, sim.ports(), &En, window.shapes);
        EXPECT_EQ(window.calls, (std::vector<std::string>{"hide", "show-noactivate"}));
        EXPECT_EQ(window.shapeAskedFor, std::vector<int>{c.profile});
        ASSERT_EQ(window.typing.sent.size(), 1u);
        EXPECT_EQ(window.typing.sent.front(), KeypadKeys(c.typed));
    }
}

TEST(CodeButton, TheCodeIsOfTheStepInWhichTheHotkeysModifiersAreReleased) {
    SimToken sim;
    sim.InstallTwoStep(1, kKey);
    sim.clock.SetUnixSeconds(59);
    sim.clock.Advance(990);
    FakeButtonWindow window;
    window.typing.modifiers = {true, true, false};  // held into the next step
    RunCodeButton(window, sim.ports(), &En, window.shapes);
    ASSERT_EQ(window.typing.sent.size(), 1u);
    ASSERT_EQ(sim.clock.UnixSeconds() / 30, 2);
    const CodeOutcome direct = GenerateVerificationCode(sim.ports(), 1);
    EXPECT_EQ(window.typing.sent.front(), KeysForDigits(direct.code.Text(), TypingMethod::Keypad, window.typing.layout));
}

TEST(CodeButton, FocusThatStaysOnOurWindowsTypesNothingAndSaysWhere) {
    SimToken sim;
    sim.InstallTwoStep(1, kKey);
    FakeButtonWindow window;
    window.typing.foreground = {true};
    RunCodeButton(window, sim.ports(), &En, window.shapes);
    EXPECT_TRUE(window.typing.sent.empty());
    EXPECT_EQ(window.boxes, std::vector<std::wstring>{En(IDS_GO_TO_INPUT_BOX)});
    EXPECT_EQ(window.boxFlags, std::vector<unsigned>{0x40030u});
    // One box, after the bounded wait: no box per look at the focus.
    EXPECT_GT(window.typing.foregroundAsked, 1u);
}

TEST(CodeButton, TypingThatCannotReachItsTargetIsReportedAndOffersTheClipboard) {
    struct Case {
        const char* name;
        std::function<void(FakeButtonWindow&)> arrange;
        int message;  // 0: none
        unsigned flags;
        bool copied;
    };
    const std::vector<Case> cases{
        {"modifiers held", [](FakeButtonWindow& w) { w.typing.modifiers = {true}; }, IDS_RELEASE_MODIFIERS, 0x40030u,
         false},
        {"fewer events taken", [](FakeButtonWindow& w) { w.typing.accepts = false; }, IDS_TYPING_FAILED_COPY_INSTEAD,
         0x40004u, true},
        {"declined", [](FakeButtonWindow& w) { w.typing.accepts = false; w.answerYes = false; },
         IDS_TYPING_FAILED_COPY_INSTEAD, 0x40004u, false},
        {"elevated target", [](FakeButtonWindow& w) { w.typing.elevatedTarget = true; },
         IDS_TARGET_ELEVATED_COPY_INSTEAD, 0x40004u, true},
        {"hotkey's window left", [](FakeButtonWindow& w) { w.requesting = 0x51; }, IDS_TARGET_LEFT_COPY_INSTEAD,
         0x40004u, true},
        {"hotkey's window still in front", [](FakeButtonWindow& w) { w.requesting = 0x50; }, 0, 0, false},
        {"typed", [](FakeButtonWindow&) {}, 0, 0, false},
    };
    // A copy that fails after the Yes is said, not swallowed.
    {
        SimToken sim;
        sim.InstallTwoStep(1, kKey);
        FakeButtonWindow window;
        window.typing.elevatedTarget = true;
        window.clipboardWorks = false;
        RunCodeButton(window, sim.ports(), &En, window.shapes);
        EXPECT_EQ(window.boxes, (std::vector<std::wstring>{En(IDS_TARGET_ELEVATED_COPY_INSTEAD), En(IDS_COPY_FAILED)}));
        EXPECT_EQ(window.boxFlags, (std::vector<unsigned>{0x40004u, 0x40030u}));
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SimToken sim;
        sim.InstallTwoStep(1, kKey);
        FakeButtonWindow window;
        c.arrange(window);
        RunCodeButton(window, sim.ports(), &En, window.shapes);
        const bool typed = c.message == 0 || c.message == IDS_TYPING_FAILED_COPY_INSTEAD;
        EXPECT_EQ(window.typing.sent.size(), typed ? 1u : 0u);
        EXPECT_EQ(window.boxes, c.message ? std::vector<std::wstring>{En(c.message)} : std::vector<std::wstring>{});
        EXPECT_EQ(window.boxFlags, c.message ? std::vector<unsigned>{c.flags} : std::vector<unsigned>{});
        const CodeOutcome direct = GenerateVerificationCode(sim.ports(), 1);
        EXPECT_EQ(window.copied, c.copied ? std::vector<VerificationCode>{direct.code} : std::vector<VerificationCode>{});
        EXPECT_EQ(window.calls.back(), "show-noactivate");
    }
}

TEST(CodeButton, TheTouchWaitsAttemptIsReportedLikeADirectOne) {
    struct Case {
        std::optional<TypingResult> result;  // nullopt: no code came
        std::vector<std::string> reported;
        int message;
    };
    const std::vector<Case> cases{
        {std::nullopt, {}, 0},
        {TypingResult::Typed, {}, 0},
        {TypingResult::FocusStayed, {"box"}, IDS_GO_TO_INPUT_BOX},
        {TypingResult::ModifiersHeld, {"box"}, IDS_RELEASE_MODIFIERS},
        {TypingResult::SendFailed, {"ask", "copy"}, IDS_TYPING_FAILED_COPY_INSTEAD},
        {TypingResult::TargetElevated, {"ask", "copy"}, IDS_TARGET_ELEVATED_COPY_INSTEAD},
        {TypingResult::WrongWindow, {"ask", "copy"}, IDS_TARGET_LEFT_COPY_INSTEAD},
    };
    const VerificationCode code{321};
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        SimToken sim;
        sim.InstallTwoStep(1, kKey, true);
        FakeButtonWindow window;
        if (cases[i].result) window.touchAttempt = TypingAttempt{code, *cases[i].result};
        RunCodeButton(window, sim.ports(), &En, window.shapes);
        std::vector<std::string> expected{"hide", "show", "wait"};
        expected.insert(expected.end(), cases[i].reported.begin(), cases[i].reported.end());
        expected.push_back("show-noactivate");
        EXPECT_EQ(window.calls, expected);
        // A click: the wait types only into the window that came in front.
        EXPECT_EQ(window.waitTarget, window.typing.window);
        EXPECT_EQ(window.boxes, cases[i].message ? std::vector<std::wstring>{En(cases[i].message)}
                                                 : std::vector<std::wstring>{});
        EXPECT_EQ(window.copied, cases[i].reported.size() == 2 ? std::vector<VerificationCode>{code}
                                                               : std::vector<VerificationCode>{});
    }
}

// A second press while the countdown runs would reset the answer the
// worker is collecting: the countdown comes forward and the token is left.
TEST(CodeButton, ATouchWaitInProgressOwnsTheToken) {
    SimToken sim;
    sim.InstallTwoStep(1, kKey, true);
    ASSERT_EQ(GenerateVerificationCode(sim.ports(), 1).action, CodeAction::AwaitTouch);
    FakeButtonWindow window;
    window.touchWaitRunning = true;
    window.requesting = 0x50;
    RunCodeButton(window, sim.ports(), &En, window.shapes);
    EXPECT_EQ(window.calls, std::vector<std::string>{"countdown-forward"});
    EXPECT_TRUE(sim.state.exchange.touchWaitSinceMs.has_value());
    EXPECT_TRUE(window.typing.sent.empty());
}

TEST(CodeButton, OutcomesShownAsMessages) {
    struct Case {
        std::function<void(SimToken&, FakeButtonWindow&)> arrange;
        int message;  // 0: none
    };
    const std::vector<Case> cases{
        {[](SimToken&, FakeButtonWindow& w) { w.states = {{ID_PROFILE_1, 0}, {ID_PROFILE_2, 0}}; }, 110},
        {[](SimToken&, FakeButtonWindow&) {}, 110},  // the profile is not set in the token
        {[](SimToken& t, FakeButtonWindow&) {
             t.InstallTwoStep(1, kKey);
             t.ArmFaults(SimFaults{.vanishAfterReports = 0});
         },
         105},
        {[](SimToken& t, FakeButtonWindow&) {
             t.InstallTwoStep(1, kKey);
             t.ArmFaults(SimFaults{.stuckBusy = true});
         },
         32},
        {[](SimToken& t, FakeButtonWindow&) {
             t.InstallTwoStep(1, kKey);
             t.state.firmware = {2, 1, 0};
         },
         33},
        {[](SimToken& t, FakeButtonWindow&) {
             t.InstallTwoStep(1, kKey);
             t.ArmFaults(SimFaults{.badAnswerChecksum = true});
         },
         0},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        SimToken sim;
        FakeButtonWindow window;
        cases[i].arrange(sim, window);
        RunCodeButton(window, sim.ports(), &En, window.shapes);
        EXPECT_TRUE(window.typing.sent.empty());
        if (cases[i].message) {
            EXPECT_EQ(window.boxes, std::vector<std::wstring>{En(cases[i].message)});
            EXPECT_EQ(window.boxFlags, std::vector<unsigned>{0x40030u});
        } else {
            EXPECT_TRUE(window.boxes.empty());
        }
        EXPECT_EQ(window.calls.front(), "hide");
        EXPECT_EQ(window.calls.back(), "show-noactivate");
    }
}

TEST(CodeButton, NoCheckedProfileNeverTouchesTheToken) {
    SimToken sim;
    sim.InstallTwoStep(1, kKey);
    sim.ArmFaults(SimFaults{});
    FakeButtonWindow window;
    window.states = {{ID_PROFILE_1, 2}, {ID_PROFILE_2, 0}};
    RunCodeButton(window, sim.ports(), &En, window.shapes);
    EXPECT_EQ(sim.state.reportsSinceArmed, 0u);
}

TEST(CodeButton, ATouchProfileOpensTheWaitAfterShowingTheWindow) {
    for (const CodeShape shape : {CodeShape{}, CodeShape{8, 60}}) {
        SimToken sim;
        sim.InstallTwoStep(2, kKey, true);
        FakeButtonWindow window;
        window.states = {{ID_PROFILE_1, 0}, {ID_PROFILE_2, 8}};
        window.shape = shape;
        RunCodeButton(window, sim.ports(), &En, window.shapes);
        EXPECT_EQ(window.calls, (std::vector<std::string>{"hide", "show", "wait", "show-noactivate"}));
        EXPECT_EQ(window.waitedFor, 2);
        // The worker reads the touched answer in the profile's digits.
        EXPECT_EQ(window.waitedDigits, shape.digits);
        EXPECT_TRUE(window.typing.sent.empty());
    }
}

TEST(CodeButton, AnOtpWindowStopsEverything) {
    SimToken sim;
    sim.InstallTwoStep(1, kKey);
    FakeButtonWindow window;
    window.otpWindow = true;
    RunCodeButton(window, sim.ports(), &En, window.shapes);
    EXPECT_TRUE(window.calls.empty());
    EXPECT_TRUE(window.typing.sent.empty());
}

}  // namespace
}  // namespace orvika2
