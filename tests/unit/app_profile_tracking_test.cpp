#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/profile_tracking.h"
#include "resources/resource.h"

namespace orvika2 {
namespace {

// Records what the tracking does to the window, in order.
class RecordingWindow final : public MainWindowPort {
public:
    unsigned MenuItemState(int command) override { return states[command]; }
    void CheckMenuItem(int command, bool checked) override {
        states[command] = (states[command] & ~8u) | (checked ? 8u : 0u);
        calls.push_back("check");
    }
    void EnableMenuItem(int command, bool enabled) override {
        states[command] = (states[command] & ~2u) | (enabled ? 0u : 2u);
        calls.push_back("enable");
    }
    void ReloadMenu() override {
        states.clear();
        calls.push_back("reload");
    }
    void UpdateMenuLabels() override { calls.push_back("labels"); }
    bool CodeButtonEnabled() override { return codeButtonEnabled; }
    void EnableCodeButton(bool enabled) override { codeButtonEnabled = enabled; }
    void SetCodeButtonTip(const std::wstring&) override {}
    void ShowNotice(Anchor, const std::wstring&, const std::wstring&) override { calls.push_back("notice"); }
    void RunSettingsCommand() override { calls.push_back("settings"); }
    void HideWindow() override {}
    void ShowWindowWithoutActivation() override {}

    std::map<int, unsigned> states{{ID_PROFILE_1, 8}, {ID_PROFILE_2, 0}};
    bool codeButtonEnabled = true;
    std::vector<std::string> calls;
};

TEST(QuietProfileTracking, WithoutATokenNothingIsUsableAndNothingIsShown) {
    RecordingWindow window;
    auto tracking = MakeProfileTracking(window);
    tracking->RefreshProfiles();
    EXPECT_EQ(window.states[ID_PROFILE_1], 2u);
    EXPECT_EQ(window.states[ID_PROFILE_2], 2u);
    EXPECT_FALSE(window.codeButtonEnabled);
    tracking->CheckTokenPresence();
    tracking->PromptFirstUse();
    tracking->HandleTokenRemoval();
    tracking->RunCodeButton();
    for (const auto& call : window.calls) {
        EXPECT_NE(call, "notice");
        EXPECT_NE(call, "settings");
    }
    EXPECT_EQ(tracking->TokenSection(), L"");
}

TEST(QuietProfileTracking, ArrivalReloadsTheMenuBeforeRefreshingAndLabelling) {
    RecordingWindow window;
    auto tracking = MakeProfileTracking(window);
    tracking->HandleTokenArrival();
    ASSERT_FALSE(window.calls.empty());
    EXPECT_EQ(window.calls.front(), "reload");
    EXPECT_EQ(window.calls.back(), "labels");
    EXPECT_EQ(window.states[ID_PROFILE_1], 2u);
}

TEST(QuietProfileTracking, SelectingAProfileMovesTheCheckMark) {
    RecordingWindow window;
    window.states = {{ID_PROFILE_1, 8}, {ID_PROFILE_2, 0}};
    auto tracking = MakeProfileTracking(window);
    tracking->SelectProfile(2);
    EXPECT_EQ(window.states[ID_PROFILE_1], 0u);
    EXPECT_EQ(window.states[ID_PROFILE_2], 8u);
}

}  // namespace
}  // namespace orvika2
