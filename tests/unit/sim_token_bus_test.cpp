#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <algorithm>
#include <fstream>
#include <latch>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/hmac_sha1.h"
#include "platform/interface_walk.h"
#include "platform/sim/sim_factory.h"
#include "platform/sim/sim_state_text.h"
#include "platform/sim/sim_token.h"
#include "platform/sim/sim_token_bus.h"
#include "platform/sim/sim_token_file.h"
#include "platform/token_crc16.h"
#include "tests/support/fake_clock.h"
#include "tests/support/temp_dir.h"
#include "token/token_frame.h"

namespace orvika2 {
namespace {

constexpr std::array<std::uint8_t, 20> kKey = {0x3d, 0xc6, 0xca, 0xa4, 0x82, 0x4a, 0x6d, 0x28, 0x87, 0x67,
                                               0xb2, 0x33, 0x1e, 0x20, 0xb4, 0x31, 0x66, 0xcb, 0x85, 0xd9};

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

struct SimTokenBusTest : ::testing::Test {
    testing::TempDir dir;
    std::filesystem::path path = dir / "token.txt";
    std::wstring interfacePath = L"sim:" + path.wstring();
    std::int64_t nowMs = 1'700'000'000'000;
    testing::FakeClock clock;

    SimServices Services() {
        SimServices services = NativeSimServices();
        services.wallClockMs = [this] { return nowMs; };
        return services;
    }

    SimTokenState Factory() {
        SimTokenState state;
        state.serial = {0x00, 0x0A, 0x1B, 0xFF};
        FactoryInstall(state, 1, FactoryTwoStepRecord(kKey, /*requireTouch=*/true));
        FactoryInstall(state, 2, *FactoryStaticRecord("Secret 1!"));
        return state;
    }

    std::unique_ptr<HidDevice> OpenFileToken() {
        SimTokenBus opened = MakeSimTokenBus(path, Services());
        EXPECT_EQ(opened.error, "");
        return opened.bus->Open(interfacePath);
    }

    // Gets until a report whose flags are not busy.
    FeatureReport GetPastBusy(HidDevice& device) {
        FeatureReport report{};
        for (int i = 0; i < 10; ++i) {
            EXPECT_TRUE(device.GetFeature(report));
            if (report[8] != 0x80) break;
        }
        return report;
    }

    // Answer data collected chunk by chunk until idle.
    std::vector<std::uint8_t> ReadAnswer(HidDevice& device) {
        std::vector<std::uint8_t> answer;
        for (FeatureReport report = GetPastBusy(device); report[8] & 0x40;) {
            answer.insert(answer.end(), report.begin() + 1, report.begin() + 8);
            EXPECT_TRUE(device.GetFeature(report));
        }
        return answer;
    }
};

TEST_F(SimTokenBusTest, FileTokenIsListedOpenedAndAnswers) {
    ASSERT_EQ(SimTokenFile(path, Services()).Create(Factory()), "");
    SimTokenBus opened = MakeSimTokenBus(path, Services());
    ASSERT_EQ(opened.error, "");
    EXPECT_EQ(opened.bus->ListInterfaces(), std::vector<std::wstring>{interfacePath});
    const auto identity = opened.bus->ReadIdentity(interfacePath);
    ASSERT_TRUE(identity);
    EXPECT_EQ(identity->vendorId, 0x1050);
    EXPECT_EQ(identity->productId, 0x0010);
    EXPECT_FALSE(opened.bus->ReadIdentity(L"sim:elsewhere"));
    EXPECT_EQ(opened.bus->Open(L"sim:elsewhere"), nullptr);

    auto device = opened.bus->Open(interfacePath);
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(SendTokenFrame(*device, clock, BuildTokenFrame(0x10, {})), TokenResult::Success);
    const auto answer = ReadAnswer(*device);
    ASSERT_EQ(answer.size(), 7u);
    EXPECT_EQ(std::vector<std::uint8_t>(answer.begin(), answer.begin() + 4),
              (std::vector<std::uint8_t>{0x00, 0x0A, 0x1B, 0xFF}));
    EXPECT_EQ(token_crc16(std::span(answer).first(6)), kTokenCrcResidue);
}

TEST_F(SimTokenBusTest, TwoTokenObjectsOnOneFileShareTheToken) {
    ASSERT_EQ(SimTokenFile(path, Services()).Create(Factory()), "");
    auto uiThreadDevice = OpenFileToken();
    auto workerDevice = OpenFileToken();
    ASSERT_TRUE(uiThreadDevice && workerDevice);

    const std::array<std::uint8_t, 8> challenge = {0, 0, 0, 0, 0x03, 0x5A, 0x4E, 0x91};
    ASSERT_EQ(SendTokenFrame(*uiThreadDevice, clock, BuildTokenFrame(0x30, challenge)), TokenResult::Success);
    EXPECT_EQ(GetPastBusy(*workerDevice)[8], 0x20);

    bool released = false;
    ASSERT_EQ(SimTokenFile(path, Services()).Touch(released), "");
    EXPECT_TRUE(released);
    const auto answer = ReadAnswer(*workerDevice);
    ASSERT_EQ(answer.size(), 28u);
    const auto expected = HmacSha1(kKey, challenge);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), answer.begin()));

    // The answer was read out through the other object: the first sees idle.
    FeatureReport status{};
    ASSERT_TRUE(uiThreadDevice->GetFeature(status));
    EXPECT_EQ(status[8], 0);
}

TEST_F(SimTokenBusTest, StateSurvivesTheFileRoundTrip) {
    SimTokenState state = Factory();
    state.firmware = {3, 1, 0};
    state.autoTouchMs = 250;
    state.busyGets = 4;
    state.exchange.frame[3] = 0x77;
    state.exchange.busyGetsLeft = 2;
    state.exchange.answer = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    state.exchange.nextAnswerChunk = 1;
    state.exchange.answerStale = true;
    state.exchange.touchWaitSinceMs = kSimLatestTimeMs;
    state.faults = {.failSendAtReport = 7, .failGetAtReport = 0, .vanishAfterReports = 9, .stuckBusy = true,
                    .badAnswerChecksum = true, .stuckBusyFromReport = 12};
    state.reportsSinceArmed = 3;

    const SimTokenFile file(path, Services());
    ASSERT_EQ(file.Create(state), "");
    SimTokenState loaded;
    ASSERT_EQ(file.Read(loaded), "");
    EXPECT_EQ(loaded, state);
}

TEST_F(SimTokenBusTest, DamagedFileIsReportedAndLeftAlone) {
    const std::string good = FormatSimState(Factory());
    const auto goodWith = [&good](const std::string& key, const std::string& value) {
        const std::size_t at = good.find("\n" + key + "=") + 1;
        return good.substr(0, at) + key + "=" + value + good.substr(good.find('\n', at));
    };
    const std::vector<std::string> damaged = {
        "",
        "serial=000a1bff\n",                                  // no firmware
        good + "colour=blue\n",                               // unknown key
        good + "serial=000a1bff\n",                           // given twice
        "serial=000a1bfz\nfirmware=2.2.3\n",                  // not hex
        "serial=000a1bff\nfirmware=2.2\n",                    // short version
        "serial=000a1bff\nfirmware=2.2.3\nsequence=256\n",    // out of range
        "serial=000a1bff\nfirmware=2.2.3\nprofile1=00ff\n",   // short record
        "serial=000a1bff\nfirmware=2.2.3\nanswer=0102\nnext_answer_chunk=2\n",
        "serial=000a1bff\nfirmware=2.2.3\nno equals sign\n",
        // Time stamps the clock could never subtract from safely.
        goodWith("busy_since_ms", "-9223372036854775808"),
        goodWith("touch_wait_since_ms", "-1"),
        goodWith("touch_wait_since_ms", "253402300800000"),
        std::string("\x00\xff\x13garbage", 10),
    };
    const std::string fileName = path.filename().string();
    for (const std::string& content : damaged) {
        SCOPED_TRACE(content);
        WriteFile(path, content);
        SimTokenBus opened = MakeSimTokenBus(path, Services());
        EXPECT_NE(opened.error.find(fileName), std::string::npos) << opened.error;
        EXPECT_EQ(opened.bus->ListInterfaces(), std::vector<std::wstring>{});
        EXPECT_EQ(opened.bus->Open(interfacePath), nullptr);
        bool released = false;
        EXPECT_NE(SimTokenFile(path, Services()).Touch(released), "");
        EXPECT_EQ(ReadFile(path), content);
    }

    std::filesystem::remove(path);
    SimTokenBus missing = MakeSimTokenBus(path, Services());
    EXPECT_NE(missing.error.find(fileName), std::string::npos);
    EXPECT_EQ(missing.bus->ListInterfaces(), std::vector<std::wstring>{});
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(SimTokenBusTest, VanishedTokenLeavesTheBus) {
    ASSERT_EQ(SimTokenFile(path, Services()).Create(Factory()), "");
    ASSERT_EQ(SimTokenFile(path, Services()).ArmFaults({.vanishAfterReports = 1}), "");
    auto device = OpenFileToken();
    ASSERT_NE(device, nullptr);
    FeatureReport report{};
    EXPECT_TRUE(device->GetFeature(report));
    EXPECT_FALSE(device->GetFeature(report));
    SimTokenBus opened = MakeSimTokenBus(path, Services());
    EXPECT_EQ(opened.error, "");
    EXPECT_EQ(opened.bus->ListInterfaces(), std::vector<std::wstring>{});
    EXPECT_EQ(opened.bus->Open(interfacePath), nullptr);

    SimTokenState memory = Factory();
    auto memoryBus = MakeInMemorySimBus(memory, Services());
    const auto listed = memoryBus->ListInterfaces();
    ASSERT_EQ(listed->size(), 1u);
    EXPECT_NE(memoryBus->Open(listed->front()), nullptr);
    SimArmFaults(memory, {.vanishAfterReports = 0});
    EXPECT_EQ(memoryBus->ListInterfaces(), std::vector<std::wstring>{});
}

TEST_F(SimTokenBusTest, ConcurrentTokenObjectsLoseNoReport) {
    ASSERT_EQ(SimTokenFile(path, Services()).Create(Factory()), "");
    constexpr int kGetsPerThread = 200;
    const SimServices services = Services();
    std::latch start(2);
    auto getMany = [&] {
        auto device = MakeSimTokenBus(path, services).bus->Open(interfacePath);
        FeatureReport report{};
        start.arrive_and_wait();
        for (int i = 0; i < kGetsPerThread && device; ++i) device->GetFeature(report);
    };
    std::thread first(getMany);
    std::thread second(getMany);
    first.join();
    second.join();
    SimTokenState state;
    ASSERT_EQ(SimTokenFile(path, Services()).Read(state), "");
    EXPECT_EQ(state.reportsSinceArmed, 2u * kGetsPerThread);
}

TEST_F(SimTokenBusTest, PressAndShowForTheCommandLine) {
    const SimTokenFile file(path, Services());
    ASSERT_EQ(file.Create(Factory()), "");
    std::optional<std::string> typed;
    ASSERT_EQ(file.Press(2, typed), "");
    EXPECT_EQ(typed, "Secret 1!");
    ASSERT_EQ(file.Press(1, typed), "");
    EXPECT_EQ(typed, std::nullopt);
    ASSERT_EQ(file.ArmFaults({.stuckBusy = true}), "");
    std::string summary;
    ASSERT_EQ(file.Show(summary), "");
    EXPECT_NE(summary.find("serial: 000a1bff"), std::string::npos) << summary;
    EXPECT_NE(summary.find("state: busy"), std::string::npos) << summary;
}

// One interface whose details cannot be read is passed over; the walk
// ends at the platform's end or at the limit.
TEST(InterfaceWalk, PassesOverUnreadableInterfacesUpToTheEnd) {
    using Kind = InterfaceEntry::Kind;
    struct Row {
        std::vector<InterfaceEntry> entries;
        std::uint32_t limit;
        std::vector<std::wstring> expected;
    };
    const std::vector<Row> rows = {
        {{{Kind::Found, L"a"}, {Kind::Unreadable, {}}, {Kind::Found, L"token"}, {Kind::End, {}}}, 1000, {L"a", L"token"}},
        {{{Kind::Unreadable, {}}, {Kind::Unreadable, {}}, {Kind::Found, L"token"}, {Kind::End, {}}}, 1000, {L"token"}},
        {{{Kind::Found, L"a"}, {Kind::End, {}}, {Kind::Found, L"after the end"}}, 1000, {L"a"}},
        {{{Kind::Found, L"a"}, {Kind::Found, L"b"}, {Kind::Found, L"c"}}, 2, {L"a", L"b"}},
    };
    for (const Row& row : rows) {
        std::uint32_t asked = 0;
        const auto paths = CollectInterfacePaths(row.limit, [&](std::uint32_t index) {
            asked = index + 1;
            return index < row.entries.size() ? row.entries[index] : InterfaceEntry{};
        });
        EXPECT_EQ(paths, row.expected);
        EXPECT_LE(asked, row.limit);
    }
}

}  // namespace
}  // namespace orvika2
