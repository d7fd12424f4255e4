#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/profile_tracking.h"
#include "platform/sim/sim_factory.h"
#include "resources/resource.h"
#include "settings/config_file.h"
#include "tests/support/memory_profile_store.h"
#include "tests/support/sim_fixture.h"
#include "tests/support/test_services.h"

namespace orvika2 {
namespace {

using testing::MemoryProfileStore;
using testing::SimToken;
using Anchor = MainWindowPort::Anchor;

const std::wstring kFile = L"C:\\config.ini";
// Grayed and disabled: an item that cannot be used looks it.
constexpr unsigned kUnusable = 3;

struct Notice {
    Anchor anchor;
    std::wstring title, text;
    friend bool operator==(const Notice&, const Notice&) = default;
};

// The window as the tracking leaves it: whole menu states, the code button,
// notices and prompts.
class FakeWindow final : public MainWindowPort {
public:
    unsigned MenuItemState(int command) override { return states[command]; }
    void CheckMenuItem(int command, bool checked) override {
        states[command] = (states[command] & ~8u) | (checked ? 8u : 0u);
    }
    void EnableMenuItem(int command, bool enabled) override {
        states[command] = (states[command] & ~kProfileItemUnusable) | ProfileItemEnableBits(enabled);
    }
    void SetMenuItemText(int command, const std::wstring& text) override { texts[command] = text; }
    void ReloadMenu() override {
        states.clear();
        texts.clear();
        calls.push_back("reload");
    }
    bool CodeButtonEnabled() override { return codeButton; }
    void EnableCodeButton(bool enabled) override { codeButton = enabled; }
    void SetCodeButtonTip(const std::wstring& text) override { tip = text; }
    void SetCodeButtonName(const std::wstring& text) override { name = text; }
    void ShowNotice(Anchor anchor, const std::wstring& title, const std::wstring& text) override {
        notices.push_back({anchor, title, text});
    }
    void ShowMessageBox(const std::wstring& text, unsigned flags) override {
        boxes.push_back(text);
        boxFlags = flags;
        calls.push_back("box");
    }
    bool SettingsWindowOpen() override { return settingsOpen; }
    void RunSettingsCommand() override { calls.push_back("settings"); }

    std::map<int, unsigned> states;
    std::map<int, std::wstring> texts;
    bool codeButton = true;
    std::wstring tip;
    std::wstring name;
    std::vector<Notice> notices;
    std::vector<std::wstring> boxes;
    unsigned boxFlags = 0;
    bool settingsOpen = false;
    std::vector<std::string> calls;
};

std::wstring En(int id) { return UiString(id, kLangEnglish); }

// The simulated token behind a bus that can list it several times and fail
// chosen sends, as a busy or flaky link would.
class TestBus final : public HidBus {
public:
    explicit TestBus(HidBus& inner) : inner_(inner) {}
    std::optional<std::vector<std::wstring>> ListInterfaces() override {
        auto paths = inner_.ListInterfaces();
        if (!paths || paths->empty()) return paths;
        std::vector<std::wstring> listed;
        for (int i = 0; i < copies; ++i) listed.push_back(paths->front() + std::to_wstring(i));
        return listed;
    }
    std::optional<HidIdentity> ReadIdentity(const std::wstring& path) override {
        return inner_.ReadIdentity(Inner(path));
    }
    std::unique_ptr<HidDevice> Open(const std::wstring& path) override {
        auto device = inner_.Open(Inner(path));
        if (!device) return nullptr;
        return std::make_unique<Device>(std::move(device), *this);
    }

    int copies = 1;
    std::function<bool(const FeatureReport&)> failSend;

private:
    class Device final : public HidDevice {
    public:
        Device(std::unique_ptr<HidDevice> inner, TestBus& bus) : inner_(std::move(inner)), bus_(bus) {}
        bool SendFeature(const FeatureReport& report) override {
            if (bus_.failSend && bus_.failSend(report)) return false;
            return inner_->SendFeature(report);
        }
        bool GetFeature(FeatureReport& report) override { return inner_->GetFeature(report); }

    private:
        std::unique_ptr<HidDevice> inner_;
        TestBus& bus_;
    };
    std::wstring Inner(const std::wstring& path) const { return path.substr(0, path.size() - 1); }
    HidBus& inner_;
};

// The last chunk of a frame carries its command (frame byte 64, report byte 2).
bool IsChallengeOf(const FeatureReport& report, int profile) {
    return report[8] == 0x89 && report[2] == (profile == 1 ? 0x30 : 0x38);
}

enum class Kind { None, Static, TwoStep, TwoStepTouch };

constexpr std::array<std::uint8_t, 20> kKey{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};

class TrackingTest : public ::testing::Test {
protected:
    TrackingTest() : bus(*sim.bus) {}

    void Install(int profile, Kind kind) {
        switch (kind) {
        case Kind::None: break;
        case Kind::Static: FactoryInstall(sim.state, profile, *FactoryStaticRecord("secret")); break;
        case Kind::TwoStep: sim.InstallTwoStep(profile, kKey); break;
        case Kind::TwoStepTouch: sim.InstallTwoStep(profile, kKey, true); break;
        }
    }
    std::unique_ptr<ProfileTracking> Tracking() { return std::make_unique<ProfileTracking>(window, services.services); }
    std::wstring Serial() { return ReadSerialString(sim.ports()); }
    std::wstring EntryOf(int profile, const std::wstring& section) {
        return ReadProfileEntry(store, kFile, section, profile);
    }
    void SetEntry(int profile, const std::wstring& entry) {
        WriteProfileEntry(store, kFile, Serial(), profile, entry);
        store.writes.clear();
    }
    bool WroteAnyEntry() const {
        for (const auto& write : store.writes) {
            if (write.key == L"Config1" || write.key == L"Config2") return true;
        }
        return false;
    }
    void ExpectNothingUsable() {
        EXPECT_EQ(window.states[ID_PROFILE_1], kUnusable);
        EXPECT_EQ(window.states[ID_PROFILE_2], kUnusable);
        EXPECT_FALSE(window.codeButton);
    }

    SimToken sim;
    TestBus bus;
    MemoryProfileStore store;
    testing::TestServices services{store, {bus, sim.clock}, kFile, &En, kLangEnglish};
    FakeWindow window;
};

struct KindCase {
    Kind profile1, profile2;
    unsigned state1, state2;
    bool codeButton;
    std::wstring entry1, entry2;
    std::optional<Notice> notice;
};

TEST_F(TrackingTest, RefreshSetsMenuButtonEntriesAndNoticeForEachKindOfEachProfile) {
    const Notice static1{Anchor::CodeButton, L"Profile1 ( Static password ) ",
                         En(IDS_STATIC_PASSWORD_NOTICE) + L" (Press and hold the key for one second) "};
    const Notice static2{Anchor::CodeButton, L"Profile2 ( Static password ) ",
                         En(IDS_STATIC_PASSWORD_NOTICE) + L" (Press and hold the button for three seconds) "};
    const Notice twoStep1{Anchor::CodeButton, L"Profile1", En(IDS_GO_TO_INPUT_BOX)};
    const Notice twoStep2{Anchor::CodeButton, L"Profile2", En(IDS_GO_TO_INPUT_BOX)};
    const std::vector<KindCase> cases{
        {Kind::None, Kind::None, kUnusable, kUnusable, false, L"NotConfigured", L"NotConfigured", std::nullopt},
        {Kind::Static, Kind::None, 8, kUnusable, false, L"StaticPassword", L"NotConfigured", static1},
        {Kind::None, Kind::Static, kUnusable, 8, false, L"NotConfigured", L"StaticPassword", static2},
        {Kind::TwoStep, Kind::None, 8, kUnusable, true, L"", L"NotConfigured", twoStep1},
        {Kind::None, Kind::TwoStep, kUnusable, 8, true, L"NotConfigured", L"", twoStep2},
        {Kind::TwoStepTouch, Kind::None, 8, kUnusable, true, L"", L"NotConfigured", twoStep1},
        {Kind::None, Kind::TwoStepTouch, kUnusable, 8, true, L"NotConfigured", L"", twoStep2},
        {Kind::Static, Kind::TwoStep, 8, 0, false, L"StaticPassword", L"", static1},
        {Kind::TwoStep, Kind::Static, 8, 0, true, L"", L"StaticPassword", twoStep1},
        {Kind::TwoStepTouch, Kind::TwoStepTouch, 8, 0, true, L"", L"", twoStep1},
        {Kind::Static, Kind::Static, 8, 0, false, L"StaticPassword", L"StaticPassword", static1},
    };
    for (const KindCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(c.profile1) << "/" << static_cast<int>(c.profile2));
        sim.state = SimTokenState{};
        sim.state.serial = {0x00, 0x0a, 0x1b, 0xff};
        Install(1, c.profile1);
        Install(2, c.profile2);
        window = FakeWindow{};
        store = MemoryProfileStore{};
        Tracking()->RefreshProfiles();

        EXPECT_EQ(window.states[ID_PROFILE_1], c.state1);
        EXPECT_EQ(window.states[ID_PROFILE_2], c.state2);
        EXPECT_EQ(window.codeButton, c.codeButton);
        EXPECT_EQ(EntryOf(1, Serial()), c.entry1);
        EXPECT_EQ(EntryOf(2, Serial()), c.entry2);
        if (c.notice) {
            ASSERT_EQ(window.notices.size(), 1u);
            EXPECT_EQ(window.notices.front(), *c.notice);
        } else {
            EXPECT_TRUE(window.notices.empty());
        }
        // A touch profile's pending challenge was reset: the token is not
        // left waiting for its button.
        EXPECT_FALSE(sim.state.exchange.touchWaitSinceMs.has_value());
    }
}

TEST_F(TrackingTest, AccountNamesLabelTheTipAndTheTitle) {
    sim.InstallTwoStep(1, kKey);
    sim.InstallTwoStep(2, kKey);
    SetEntry(1, L"alice@example.com");
    SetEntry(2, L"bob");
    auto tracking = Tracking();
    tracking->RefreshProfiles();
    ASSERT_EQ(window.notices.size(), 1u);
    EXPECT_EQ(window.notices.back().title, L"Profile1 ( alice@example.com ) ");
    EXPECT_EQ(window.tip, L"Profile1 ( alice@example.com ) ");
    EXPECT_FALSE(WroteAnyEntry());

    tracking->SelectProfile(2);
    EXPECT_EQ(window.states[ID_PROFILE_1], 0u);
    EXPECT_EQ(window.states[ID_PROFILE_2], 8u);
    EXPECT_EQ(window.notices.back(), (Notice{Anchor::CodeButton, L"Profile2 ( bob ) ", En(IDS_GO_TO_INPUT_BOX)}));
    EXPECT_EQ(window.tip, L"Profile2 ( bob ) ");
    EXPECT_EQ(window.name, En(IDS_CODE_BUTTON_NAME) + L" (bob)");
    EXPECT_EQ(EntryOf(2, Serial()), L"bob");

    // On a simulated token, the tip and the notice say where what is set goes.
    services.services.simulatedTokenFile = L"C:\\sim\\token";
    const std::wstring simulated = L"\n" + En(IDS_SIMULATED_TOKEN_IN_USE) + L"C:\\sim\\token";
    tracking->SelectProfile(1);
    EXPECT_EQ(window.tip, L"Profile1 ( alice@example.com ) " + simulated);
    EXPECT_EQ(window.notices.back().text, En(IDS_GO_TO_INPUT_BOX) + simulated);
}

TEST_F(TrackingTest, MarkerWordsOnATwoStepProfileAreClearedToTheBareLabel) {
    for (const std::wstring marker : {L"NotConfigured", L"StaticPassword", L"xNotConfiguredx"}) {
        SCOPED_TRACE(std::string(marker.begin(), marker.end()));
        sim.InstallTwoStep(1, kKey);
        SetEntry(1, marker);
        window = FakeWindow{};
        auto tracking = Tracking();
        tracking->RefreshProfiles();
        EXPECT_EQ(EntryOf(1, Serial()), L"");
        EXPECT_EQ(window.notices.back().title, L"Profile1");
        // The file changed after the refresh: activation clears it as well.
        SetEntry(1, marker);
        tracking->SelectProfile(1);
        EXPECT_EQ(EntryOf(1, Serial()), L"");
        EXPECT_EQ(window.tip, L"Profile1");
        EXPECT_EQ(window.name, En(IDS_CODE_BUTTON_NAME));
        EXPECT_TRUE(window.codeButton);
    }
}

TEST_F(TrackingTest, SwitchingFromAStaticToATwoStepProfileEnablesTheCodeButton) {
    FactoryInstall(sim.state, 1, *FactoryStaticRecord("secret"));
    sim.InstallTwoStep(2, kKey);
    auto tracking = Tracking();
    tracking->RefreshProfiles();
    EXPECT_FALSE(window.codeButton);
    EXPECT_EQ(window.tip, L" ( Static password ) ");
    EXPECT_EQ(window.name, En(IDS_CODE_BUTTON_NAME));
    tracking->SelectProfile(2);
    EXPECT_TRUE(window.codeButton);
    EXPECT_EQ(window.notices.back(), (Notice{Anchor::CodeButton, L"Profile2", En(IDS_GO_TO_INPUT_BOX)}));
    tracking->SelectProfile(1);
    EXPECT_FALSE(window.codeButton);
    EXPECT_EQ(window.states[ID_PROFILE_1], 8u);
}

TEST_F(TrackingTest, FirmwareThatCannotAnswerChallengesMakesBothProfilesNotConfigured) {
    for (const std::array<std::uint8_t, 3> firmware :
         {std::array<std::uint8_t, 3>{2, 0, 9}, {1, 9, 9}, {2, 1, 0}, {2, 1, 7}}) {
        SCOPED_TRACE(::testing::Message() << int(firmware[0]) << "." << int(firmware[1]) << "." << int(firmware[2]));
        sim.state.firmware = firmware;
        sim.InstallTwoStep(1, kKey);
        SetEntry(1, L"alice");
        SetEntry(2, L"bob");
        window = FakeWindow{};
        Tracking()->RefreshProfiles();
        ExpectNothingUsable();
        EXPECT_EQ(EntryOf(1, Serial()), L"NotConfigured");
        EXPECT_EQ(EntryOf(2, Serial()), L"NotConfigured");
        EXPECT_TRUE(window.notices.empty());
    }
}

TEST_F(TrackingTest, APassingChallengeFailureKeepsTheAccountNameAndTheProfileUnusable) {
    sim.InstallTwoStep(1, kKey);
    sim.InstallTwoStep(2, kKey);
    SetEntry(1, L"alice");
    SetEntry(2, L"bob");
    bus.failSend = [](const FeatureReport& report) { return IsChallengeOf(report, 1); };
    auto tracking = Tracking();
    tracking->RefreshProfiles();
    EXPECT_EQ(EntryOf(1, Serial()), L"alice");
    EXPECT_EQ(window.states[ID_PROFILE_1], kUnusable);
    EXPECT_EQ(window.states[ID_PROFILE_2], 8u);
    EXPECT_EQ(window.notices.back().title, L"Profile2 ( bob ) ");

    // The next refresh asks again and finds it.
    bus.failSend = nullptr;
    window.ReloadMenu();
    tracking->RefreshProfiles();
    EXPECT_EQ(window.states[ID_PROFILE_1], 8u);
    EXPECT_EQ(EntryOf(1, Serial()), L"alice");

    // A garbled answer is such a failure too, not a static password.
    const std::wstring section = Serial();
    sim.ArmFaults({.badAnswerChecksum = true});
    window.ReloadMenu();
    tracking->RefreshProfiles();
    EXPECT_EQ(EntryOf(1, section), L"alice");
    EXPECT_EQ(EntryOf(2, section), L"bob");
    ExpectNothingUsable();
}

TEST_F(TrackingTest, APassingFailureOnActivationKeepsTheEntryAndDisablesTheButton) {
    sim.InstallTwoStep(1, kKey);
    sim.InstallTwoStep(2, kKey);
    SetEntry(2, L"bob");
    auto tracking = Tracking();
    tracking->RefreshProfiles();
    window.notices.clear();
    bus.failSend = [](const FeatureReport& report) { return IsChallengeOf(report, 2); };
    tracking->SelectProfile(2);
    EXPECT_EQ(EntryOf(2, Serial()), L"bob");
    EXPECT_FALSE(window.codeButton);
    EXPECT_TRUE(window.notices.empty());
}

TEST_F(TrackingTest, ABusyTokenCountsAsNoTokenAndNoEntryIsWritten) {
    sim.InstallTwoStep(1, kKey);
    SetEntry(1, L"alice");
    const std::wstring section = Serial();
    sim.ArmFaults(SimFaults{.stuckBusy = true});
    Tracking()->RefreshProfiles();
    ExpectNothingUsable();
    EXPECT_FALSE(WroteAnyEntry());
    EXPECT_EQ(EntryOf(1, section), L"alice");
}

TEST_F(TrackingTest, SeveralTokensCountAsNoTokenAndShowTheOneTokenNotice) {
    sim.InstallTwoStep(1, kKey);
    bus.copies = 2;
    auto tracking = Tracking();
    tracking->RefreshProfiles();
    ExpectNothingUsable();
    EXPECT_FALSE(WroteAnyEntry());
    EXPECT_EQ(tracking->TokenSection(), L"");

    const Notice oneToken{Anchor::CodeButton, En(IDS_REMINDER), En(IDS_ONLY_ONE_TOKEN)};
    for (const auto& run : std::vector<std::function<void()>>{[&] { tracking->CheckTokenPresence(); },
                                                               [&] { tracking->HandleTokenArrival(); }}) {
        window = FakeWindow{};
        window.states = {{ID_PROFILE_1, 8}, {ID_PROFILE_2, 0}};
        run();
        ASSERT_EQ(window.notices.size(), 1u);
        EXPECT_EQ(window.notices.front(), oneToken);
        ExpectNothingUsable();
        EXPECT_TRUE(window.calls.empty());
    }
}

TEST_F(TrackingTest, AnUnreadableSerialKeepsTheLastSection) {
    sim.InstallTwoStep(1, kKey);
    // The serial request is the first report a refresh sends.
    const auto failFirstSend = [] { return [sent = 0](const FeatureReport&) mutable { return sent++ == 0; }; };
    bus.failSend = failFirstSend();
    auto tracking = Tracking();
    tracking->RefreshProfiles();
    // Before any serial was read, entries go to the section with no name.
    EXPECT_EQ(tracking->TokenSection(), L"");
    EXPECT_EQ(EntryOf(2, L""), L"NotConfigured");

    bus.failSend = nullptr;
    tracking->RefreshProfiles();
    const std::wstring first = Serial();
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(tracking->TokenSection(), first);

    sim.state.serial = {0x12, 0x34, 0x56, 0x78};
    bus.failSend = failFirstSend();
    store.writes.clear();
    tracking->RefreshProfiles();
    EXPECT_EQ(tracking->TokenSection(), first);
    for (const auto& write : store.writes) EXPECT_EQ(write.section, first);
}

TEST_F(TrackingTest, PresenceCheckNotices) {
    struct Case {
        std::function<void(SimToken&)> arrange;
        std::optional<Notice> notice;
    };
    const std::vector<Case> cases{
        {[](SimToken& t) { t.InstallTwoStep(2, kKey); }, std::nullopt},
        {[](SimToken&) {}, Notice{Anchor::MenuButton, En(IDS_REMINDER), En(IDS_NO_PROFILE_SET)}},
        {[](SimToken& t) {
             t.InstallTwoStep(1, kKey);
             t.state.firmware = {2, 0, 5};
         },
         Notice{Anchor::MenuButton, En(IDS_REMINDER), En(IDS_NO_PROFILE_SET)}},
        {[](SimToken& t) { t.ArmFaults(SimFaults{.vanishAfterReports = 0}); },
         Notice{Anchor::CodeButton, En(IDS_REMINDER), En(IDS_NOT_INSERTED)}},
        {[](SimToken& t) { t.ArmFaults(SimFaults{.stuckBusy = true}); }, Notice{Anchor::CodeButton, En(IDS_REMINDER), En(IDS_NOT_INSERTED)}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        sim.state = SimTokenState{};
        cases[i].arrange(sim);
        window = FakeWindow{};
        Tracking()->CheckTokenPresence();
        if (cases[i].notice) {
            ASSERT_EQ(window.notices.size(), 1u);
            EXPECT_EQ(window.notices.front(), *cases[i].notice);
        } else {
            EXPECT_TRUE(window.notices.empty());
        }
    }
}

TEST_F(TrackingTest, FirstUsePromptOnlyForATokenWithoutConfiguredProfiles) {
    struct Case {
        std::function<void(SimToken&)> arrange;
        bool settingsOpen;
        bool prompted;
    };
    const std::vector<Case> cases{
        {[](SimToken&) {}, false, true},
        {[](SimToken& t) { t.state.firmware = {2, 0, 1}; t.InstallTwoStep(1, kKey); }, false, true},
        {[](SimToken&) {}, true, false},
        {[](SimToken& t) { t.InstallTwoStep(2, kKey); }, false, false},
        {[](SimToken& t) { FactoryInstall(t.state, 1, *FactoryStaticRecord("pw")); }, false, false},
        // No status report at all: the flags are unknown.
        {[](SimToken& t) { t.ArmFaults(SimFaults{.failGetAtReport = 1}); }, false, false},
        {[](SimToken& t) { t.ArmFaults(SimFaults{.vanishAfterReports = 0}); }, false, false},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        sim.state = SimTokenState{};
        cases[i].arrange(sim);
        window = FakeWindow{};
        window.settingsOpen = cases[i].settingsOpen;
        Tracking()->PromptFirstUse();
        if (cases[i].prompted) {
            EXPECT_EQ(window.calls, (std::vector<std::string>{"box", "settings"}));
            EXPECT_EQ(window.boxes, std::vector<std::wstring>{En(IDS_NO_PROFILE_SET)});
            EXPECT_EQ(window.boxFlags, 0x40040u);
        } else {
            EXPECT_TRUE(window.calls.empty());
        }
    }
}

TEST_F(TrackingTest, ArrivalNoticeReloadRefreshLabelsAndPrompt) {
    auto tracking = Tracking();
    tracking->HandleTokenArrival();
    ASSERT_FALSE(window.notices.empty());
    EXPECT_EQ(window.notices.front(), (Notice{Anchor::CodeButton, En(IDS_REMINDER), En(IDS_TOKEN_ARRIVED)}));
    EXPECT_EQ(window.calls, (std::vector<std::string>{"reload", "box", "settings"}));
    ExpectNothingUsable();
    EXPECT_EQ(window.texts[ID_PROFILE_1], L"Profile1 ( Profile not yet set ) ");
    EXPECT_EQ(window.texts[ID_SETTINGS], En(IDS_MENU_SETTINGS));
}

TEST_F(TrackingTest, RemovalNoticeThenEverythingDisabled) {
    sim.InstallTwoStep(1, kKey);
    auto tracking = Tracking();
    tracking->RefreshProfiles();
    EXPECT_TRUE(window.codeButton);
    sim.ArmFaults(SimFaults{.vanishAfterReports = 0});
    window.notices.clear();
    tracking->HandleTokenRemoval();
    ASSERT_EQ(window.notices.size(), 1u);
    EXPECT_EQ(window.notices.front(), (Notice{Anchor::CodeButton, En(IDS_REMINDER), En(IDS_TOKEN_REMOVED)}));
    ExpectNothingUsable();
}

TEST_F(TrackingTest, MenuLabelsFollowTheEntriesAndTheLanguage) {
    sim.InstallTwoStep(1, kKey);
    FactoryInstall(sim.state, 2, *FactoryStaticRecord("pw"));
    SetEntry(1, L"carol");
    auto tracking = Tracking();
    tracking->RefreshProfiles();
    tracking->UpdateMenuLabels();
    EXPECT_EQ(window.texts[ID_PROFILE_1], L"Profile1 ( carol ) ");
    EXPECT_EQ(window.texts[ID_PROFILE_2], L"Profile2 ( Static password ) ");
    EXPECT_EQ(window.states[ID_LANGUAGE_ENGLISH], 8u);
    EXPECT_EQ(window.states[ID_LANGUAGE_CHINESE], 0u);

    FakeWindow chinese;
    testing::TestServices chineseServices(
        store, {bus, sim.clock}, kFile, [](int id) { return UiString(id, kLangTraditionalChinese); },
        kLangTraditionalChinese);
    auto zh = std::make_unique<ProfileTracking>(chinese, chineseServices.services);
    zh->RefreshProfiles();
    zh->UpdateMenuLabels();
    EXPECT_EQ(chinese.states[ID_LANGUAGE_CHINESE], 8u);
    EXPECT_EQ(chinese.states[ID_LANGUAGE_ENGLISH], 0u);
    EXPECT_EQ(chinese.texts[ID_PROFILE_1], UiString(IDS_PROFILE, kLangTraditionalChinese) + L"1 ( carol ) ");
}

}  // namespace
}  // namespace orvika2
