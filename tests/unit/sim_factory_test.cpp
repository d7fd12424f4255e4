#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/sim/sim_describe.h"
#include "platform/sim/sim_factory.h"
#include "platform/sim/sim_profile_record.h"
#include "platform/sim/sim_state_text.h"
#include "platform/sim/sim_static_output.h"
#include "token/profile_config.h"

namespace orvika2 {
namespace {

constexpr std::array<std::uint8_t, 20> kKey = {0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA,
                                               0xAB, 0xAC, 0xAD, 0xAE, 0xAF, 0xB0, 0xB1, 0xB2, 0xB3, 0xB4};

bool SameUpToChecksum(const SimProfileRecord& factory, const ProfileConfig& host) {
    return std::equal(host.bytes.begin(), host.bytes.begin() + 50, factory.bytes.begin());
}

// Every character the token can type, in one text.
std::string AllTypable() {
    std::string text = "\r";
    for (char c = 0x20; c < 0x7F; ++c) text += c;
    return text;
}

// The factory follows the record layout independently of the host's
// builders; the two must agree byte for byte.
TEST(SimFactory, RecordsMatchTheHostsBuilders) {
    for (bool touch : {false, true}) {
        EXPECT_TRUE(SameUpToChecksum(FactoryTwoStepRecord(kKey, touch), BuildTwoStepRecord(kKey, touch)));
    }
    const std::string all = AllTypable();
    for (std::size_t start = 0; start < all.size(); start += 19) {
        for (std::size_t length : {4u, 16u, 17u, 22u, 23u, 38u}) {
            const std::string text = all.substr(start, length);
            if (text.size() < 4) continue;
            const auto record = FactoryStaticRecord(text);
            ASSERT_TRUE(record) << text;
            EXPECT_TRUE(SameUpToChecksum(*record, BuildStaticRecord(text))) << text;
        }
    }
}

TEST(SimFactory, PressTypesTheStoredTextBack) {
    const std::string all = AllTypable();
    for (std::size_t start = 0; start < all.size(); start += kSimStaticTextMax) {
        SimTokenState state;
        const std::string text = all.substr(start, kSimStaticTextMax);
        FactoryInstall(state, 2, *FactoryStaticRecord(text));
        std::string expected = text;
        std::replace(expected.begin(), expected.end(), '\r', '\n');
        EXPECT_EQ(SimPress(state, 2), expected);
        EXPECT_EQ(SimPress(state, 1), std::nullopt);
    }
}

TEST(SimFactory, PressStopsAtTheFirstEmptyKeyCode) {
    // A host record of a password with a tab: the tab and what follows are
    // stored as 0, while the output length still counts them.
    SimTokenState state;
    ProfileConfig host = BuildStaticRecord("ab\tcd");
    SimProfileRecord record;
    std::copy(host.bytes.begin(), host.bytes.end(), record.bytes.begin());
    FactoryInstall(state, 1, record);
    EXPECT_EQ(SimPress(state, 1), "ab");
}

TEST(SimFactory, RefusesTextsTheTokenCannotHold) {
    for (const std::string& text : {std::string(), std::string(39, 'x'), std::string("tab\there"),
                                    std::string("caf\xC3\xA9"), std::string("nul\0x", 5)}) {
        EXPECT_FALSE(FactoryStaticRecord(text)) << text;
    }
}

TEST(SimFactory, InstallSealsTheRecordAndCountsTheSequence) {
    SimTokenState state;
    FactoryInstall(state, 1, FactoryTwoStepRecord(kKey, false));
    FactoryInstall(state, 2, *FactoryStaticRecord("abcd"));
    EXPECT_EQ(state.sequence, 2);
    for (const auto& profile : state.profiles) {
        ASSERT_TRUE(profile);
        EXPECT_TRUE(RecordChecksumHolds(profile->bytes));
    }
    EXPECT_EQ(SimPress(state, 1), std::nullopt);
}

TEST(SimFactory, DescriptionNamesKindsButNoSecret) {
    SimTokenState state;
    state.serial = {0x00, 0x0A, 0x1B, 0xFF};
    state.firmware = {2, 4, 1};
    FactoryInstall(state, 1, FactoryTwoStepRecord(kKey, true));
    FactoryInstall(state, 2, *FactoryStaticRecord("Hunter22"));
    const std::string summary = DescribeSimToken(state, 0);
    for (const char* fact : {"serial: 000a1bff", "firmware: 2.4.1", "sequence: 2",
                             "profile 1: 2-step verification, touch required", "profile 2: static password"}) {
        EXPECT_NE(summary.find(fact), std::string::npos) << fact << "\n" << summary;
    }
    EXPECT_EQ(summary.find("a1a2"), std::string::npos);
    EXPECT_EQ(summary.find("A1A2"), std::string::npos);
    EXPECT_EQ(summary.find("Hunter22"), std::string::npos);
}

TEST(SimFactory, SerialAndFirmwareTexts) {
    EXPECT_EQ(ParseSimSerial("000A1bff"), (std::array<std::uint8_t, 4>{0x00, 0x0A, 0x1B, 0xFF}));
    EXPECT_EQ(ParseSimFirmware("2.2.3"), (std::array<std::uint8_t, 3>{2, 2, 3}));
    EXPECT_EQ(ParseSimFirmware("255.0.10"), (std::array<std::uint8_t, 3>{255, 0, 10}));
    for (const char* bad : {"", "000a1bf", "000a1bff0", "0x0a1bff", "000a1bfg"}) {
        EXPECT_EQ(ParseSimSerial(bad), std::nullopt) << bad;
    }
    for (const char* bad : {"", "2.2", "2.2.3.4", "2..3", "256.0.0", "2.2.+3", "2.2.3 ", "a.b.c"}) {
        EXPECT_EQ(ParseSimFirmware(bad), std::nullopt) << bad;
    }
}

}  // namespace
}  // namespace orvika2
