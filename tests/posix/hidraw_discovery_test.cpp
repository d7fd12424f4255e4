#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/hid_posix.h"
#include "platform/hidraw_sysfs_posix.h"
#include "platform/text.h"
#include "tests/posix/fake_hidraw.h"
#include "tests/support/fake_clock.h"
#include "tests/support/fake_hid.h"
#include "token/token_lib.h"

namespace orvika2 {
namespace {

using testing::FakeSysfs;
using testing::UeventWithHidId;

TEST(HidrawSysfs, ListsBootKeyboardInterfacesInNumberOrder) {
    FakeSysfs sysfs;
    sysfs.AddNode("hidraw10", UeventWithHidId("0003:00001050:00000111"), FakeSysfs::kBootKeyboard);
    sysfs.AddNode("hidraw2", UeventWithHidId("0003:0000046D:0000C31C"), FakeSysfs::kBootKeyboard);
    sysfs.AddNode("hidraw1", UeventWithHidId("0003:00001050:00000110"), FakeSysfs::kNoBootProtocol);
    sysfs.AddNode("hidraw3", UeventWithHidId("0005:00001050:00000010"), "");  // Bluetooth: no USB interface
    sysfs.AddNode("hidraw4", "", FakeSysfs::kBootKeyboard);                   // no uevent
    sysfs.AddNode("hidraw0", UeventWithHidId("0003:00001050:00000010"), FakeSysfs::kBootKeyboard);
    sysfs.AddEntry("hidraw5");  // no device link
    sysfs.AddEntry("hidrawX");
    sysfs.AddEntry("event0");
    EXPECT_EQ(ListKeyboardHidrawNodes(sysfs.root()),
              (std::vector<std::string>{"hidraw0", "hidraw2", "hidraw4", "hidraw10"}));
}

TEST(HidrawSysfs, AMissingClassFolderListsNothingAnUnreadableOneFails) {
    FakeSysfs sysfs;
    EXPECT_EQ(ListKeyboardHidrawNodes(sysfs.root()), std::vector<std::string>{});
    std::filesystem::create_directories(sysfs.ClassFolder().parent_path());
    std::ofstream(sysfs.ClassFolder()) << "not a folder";
    EXPECT_EQ(ListKeyboardHidrawNodes(sysfs.root()), std::nullopt);
}

TEST(HidrawSysfs, IdentityComesFromTheUsbHidIdLine) {
    struct Case {
        std::string uevent;
        std::optional<std::pair<std::uint16_t, std::uint16_t>> ids;
    };
    const std::vector<Case> cases = {
        {UeventWithHidId("0003:00001050:00000010"), std::pair{0x1050, 0x0010}},
        {UeventWithHidId("0003:0000046d:0000c31c"), std::pair{0x046D, 0xC31C}},
        {"HID_ID=0003:00001050:00000111", std::pair{0x1050, 0x0111}},  // last line, no newline
        {UeventWithHidId("0005:00001050:00000010"), std::nullopt},     // Bluetooth
        {UeventWithHidId("0003:00011050:00000010"), std::nullopt},     // vendor out of range
        {UeventWithHidId("0003:00001050"), std::nullopt},
        {UeventWithHidId("0003:00001050:0000001G"), std::nullopt},
        {"DRIVER=hid-generic\nHID_NAME=Keyboard\n", std::nullopt},
        {"", std::nullopt},  // no uevent file
    };
    FakeSysfs sysfs;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string node = "hidraw" + std::to_string(i);
        sysfs.AddNode(node, cases[i].uevent, FakeSysfs::kBootKeyboard);
        const auto identity = ReadHidrawIdentity(sysfs.root(), node);
        ASSERT_EQ(identity.has_value(), cases[i].ids.has_value()) << cases[i].uevent;
        if (identity) {
            EXPECT_EQ(identity->vendorId, cases[i].ids->first) << cases[i].uevent;
            EXPECT_EQ(identity->productId, cases[i].ids->second) << cases[i].uevent;
        }
    }
    EXPECT_EQ(ReadHidrawIdentity(sysfs.root(), "../hidraw0"), std::nullopt);
}

struct HidrawBusSession : ::testing::Test {
    FakeSysfs sysfs;
    std::shared_ptr<testing::ScriptedHidrawCalls> calls = std::make_shared<testing::ScriptedHidrawCalls>();
    std::unique_ptr<HidBus> bus = MakeHidrawBus(sysfs.root(), calls);
    testing::FakeClock clock;
    CTokenLib token{TokenPorts{*bus, clock}};
};

TEST_F(HidrawBusSession, TokensAreCountedNewestFirstAndTwoAreRefused) {
    sysfs.AddNode("hidraw0", UeventWithHidId("0003:00001050:00000010"), FakeSysfs::kBootKeyboard);
    sysfs.AddNode("hidraw1", UeventWithHidId("0003:00001050:00000112"), FakeSysfs::kBootKeyboard);
    sysfs.AddNode("hidraw2", UeventWithHidId("0003:00001050:00000110"), FakeSysfs::kNoBootProtocol);
    sysfs.AddNode("hidraw3", UeventWithHidId("0003:00001051:00000010"), FakeSysfs::kBootKeyboard);
    sysfs.AddNode("hidraw11", UeventWithHidId("0003:00001050:00000111"), FakeSysfs::kBootKeyboard);
    EXPECT_EQ(token.EnumerateTokens(), 2);
    EXPECT_EQ((std::vector<std::wstring>(token.DeviceList().begin(), token.DeviceList().end())),
              (std::vector<std::wstring>{WideFromPath(sysfs.DevicePath("hidraw11")),
                                         WideFromPath(sysfs.DevicePath("hidraw0"))}));
    EXPECT_EQ(token.Open(), TokenResult::MoreThanOneToken);
    EXPECT_TRUE(calls->opened.empty());
}

TEST_F(HidrawBusSession, NoHidrawAtAllIsNotInserted) {
    EXPECT_EQ(token.Open(), TokenResult::NotInserted);
    EXPECT_EQ(bus->FailureAdvice(), "");
}

TEST_F(HidrawBusSession, ATokenTheUserMayNotOpenIsFoundAndTheReasonGiven) {
    sysfs.AddNode("hidraw7", UeventWithHidId("0003:00001050:00000010"), FakeSysfs::kBootKeyboard);
    calls->openError = EACCES;
    EXPECT_EQ(token.Open(), TokenResult::OperationFailed);
    EXPECT_EQ(calls->opened, std::vector<std::string>{sysfs.DevicePath("hidraw7")});
    EXPECT_EQ(bus->FailureAdvice(), "permission denied on " + sysfs.DevicePath("hidraw7") + "; install the udev rule");

    // Once the rule is in place the next open succeeds and the advice is gone.
    calls->openError = 0;
    calls->answer = testing::StatusReport(2, 2, 5, 7, 0x0001);
    EXPECT_EQ(token.Open(), TokenResult::Success);
    EXPECT_EQ(bus->FailureAdvice(), "");
    TokenStatus status;
    EXPECT_EQ(token.ReadStatus(status), TokenResult::Success);
    EXPECT_EQ(status.firmwareBuild, 5);
    EXPECT_EQ(status.configSequence, 7);
}

}  // namespace
}  // namespace orvika2
