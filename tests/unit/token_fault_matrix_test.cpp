// Every token operation against the file-backed simulated token, with each
// injectable fault at every report the operation makes: the run ends in a
// right or a clearly failed result in time, the configuration entry agrees
// with the token, and the same operation then works.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "platform/sim/sim_factory.h"
#include "platform/sim/sim_profile_record.h"
#include "platform/sim/sim_static_output.h"
#include "platform/sim/sim_token_bus.h"
#include "platform/sim/sim_token_file.h"
#include "profiles/profile_operations.h"
#include "settings/config_file.h"
#include "settings/profile_mode.h"
#include "tests/support/fake_clock.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_services.h"
#include "token/code_generator.h"

namespace orvika2 {
namespace {

// RFC 6238's SHA-1 secret; at Unix time 59 its code is 287082.
constexpr std::array<std::uint8_t, 20> kKey = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0',
                                               '1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};
constexpr std::wstring_view kKeyText = L"GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ";
constexpr std::wstring_view kAccount = L"alice";
constexpr std::string_view kPassword = "Pass1234";
constexpr std::uint32_t kIdleWaitMs = 61 * 50;
constexpr std::uint32_t kSlackMs = 50;  // 2 ms before each sent report, 10 ms poll steps

enum class Outcome { Right, ClearFailure, Wrong };

// One token and one configuration file in a temporary folder.
struct World {
    explicit World(const SimProfileRecord& profile1, std::wstring_view entry) {
        // The code's time is set per run; the token's own time must not go back.
        services.wallClockMs = [this] { return std::int64_t{clock.TickMs()}; };
        SimTokenState state;
        state.serial = {0x00, 0x0a, 0x1b, 0xff};
        FactoryInstall(state, 1, profile1);
        EXPECT_EQ(file.Create(state), "");
        bus = MakeSimTokenBus(file.path(), services).bus;
        WriteProfileEntry(*store, configFile, kSection, 1, entry);
    }
    SimTokenState Token() {
        SimTokenState state;
        EXPECT_EQ(file.Read(state), "");
        return state;
    }
    ProfilePageContext Page() {
        appServices.emplace(*store, TokenPorts{*bus, clock}, configFile);
        return {appServices->services, kSection, 1};
    }

    inline static const std::wstring kSection = L"000a1bff";
    testing::TempDir dir;
    testing::FakeClock clock;
    SimServices services = NativeSimServices();
    SimTokenFile file{dir / "token.sim", services};
    std::unique_ptr<HidBus> bus;
    std::unique_ptr<ProfileStore> store = MakePlatformProfileStore();
    std::wstring configFile = (dir / "Orvika2Config.ini").wstring();
    std::optional<testing::TestServices> appServices;
};

Outcome PageResult(const PageOutcome& page, World& world, const std::function<bool(const SimTokenState&)>& holds) {
    if (!page.applied) return Outcome::ClearFailure;
    return holds(world.Token()) ? Outcome::Right : Outcome::Wrong;
}

bool HoldsTheKey(const SimTokenState& token) {
    return token.profiles[0] && IsTwoStepRecord(*token.profiles[0]) && TwoStepKeyOf(*token.profiles[0]) == kKey;
}

struct Operation {
    const char* name;
    bool startsAsTwoStep;    // else profile 1 starts as a static password
    std::uint32_t boundMs;   // the longest the Parts let it take
    std::function<Outcome(World&)> run;
};

const Operation kOperations[] = {
    {"code", true, kIdleWaitMs + 120 + kSlackMs,
     [](World& world) {
         world.clock.SetUnixSeconds(59);
         const CodeOutcome outcome = GenerateVerificationCode({*world.bus, world.clock}, 1);
         switch (outcome.action) {
         case CodeAction::TypeCode: return outcome.code.Text() == "287082" ? Outcome::Right : Outcome::Wrong;
         case CodeAction::ShowMessage: return outcome.messageId == IDS_PROFILE_NOT_SET ? Outcome::Wrong : Outcome::ClearFailure;
         case CodeAction::Nothing: return Outcome::ClearFailure;
         case CodeAction::AwaitTouch: return Outcome::Wrong;
         }
         return Outcome::Wrong;
     }},
    {"probe", true, kIdleWaitMs + 120 + kSlackMs,
     [](World& world) {
         CTokenLib token({*world.bus, world.clock});
         token.Open();
         TokenStatus status;
         if (WaitForIdleToken(token, status) != TokenResult::Success) return Outcome::ClearFailure;
         const ProbeResult probe = ProbeProfileKind(token, status, 1);
         if (!probe.definite) return Outcome::ClearFailure;
         return probe.kind == ProfileKind::TwoStep ? Outcome::Right : Outcome::Wrong;
     }},
    {"serial", true, kIdleWaitMs + 50 + kSlackMs,
     [](World& world) {
         const std::wstring serial = ReadSerialString({*world.bus, world.clock});
         if (serial.empty()) return Outcome::ClearFailure;
         return serial == World::kSection ? Outcome::Right : Outcome::Wrong;
     }},
    {"write 2-Step Verification", false, 600 + kSlackMs,
     [](World& world) {
         ProfilePageContext page = world.Page();
         return PageResult(WriteTwoStepProfile(page, kKeyText, kAccount, false, false), world, HoldsTheKey);
     }},
    {"write static", true, 600 + kSlackMs,
     [](World& world) {
         ProfilePageContext page = world.Page();
         return PageResult(WriteStaticProfile(page, L"Pass1234", false), world,
                           [](const SimTokenState& token) { return SimPress(token, 1) == kPassword; });
     }},
    {"delete", true, 100 + kIdleWaitMs + kSlackMs,
     [](World& world) {
         ProfilePageContext page = world.Page();
         return PageResult(DeleteProfile(page), world,
                           [](const SimTokenState& token) { return !token.profiles[0].has_value(); });
     }},
    {"import", false, 600 + kSlackMs,
     [](World& world) {
         const std::wstring backup = (world.dir / "profile.bcp").wstring();
         WriteProfileBackup(*world.store, backup, TwoStepBackup(kKeyText, kAccount));
         ProfilePageContext page = world.Page();
         Outcome outcome = Outcome::Wrong;
         ImportProfileBackup(page, backup,
                             {[] { return false; }, [](bool) { return std::optional<SecretString>(); },
                              [&](const PageOutcome& shown) { outcome = PageResult(shown, world, HoldsTheKey); }});
         return outcome;
     }},
};

enum class Fault { FailedSend, FailedGet, DeviceGone, StuckBusy, BadChecksum };
constexpr Fault kFaults[] = {Fault::FailedSend, Fault::FailedGet, Fault::DeviceGone, Fault::StuckBusy,
                             Fault::BadChecksum};
constexpr const char* kFaultNames[] = {"failed send", "failed get", "device gone", "stuck busy", "bad checksum"};

SimFaults FaultAt(Fault fault, std::uint32_t report) {
    switch (fault) {
    case Fault::FailedSend: return {.failSendAtReport = report};
    case Fault::FailedGet: return {.failGetAtReport = report};
    case Fault::DeviceGone: return {.vanishAfterReports = report - 1};
    case Fault::StuckBusy: return {.stuckBusyFromReport = report};
    case Fault::BadChecksum: return {.badAnswerChecksum = true};
    }
    return {};
}

// What the configuration entry says profile 1 is, against what the token holds.
bool EntryAgrees(World& world) {
    const SimTokenState token = world.Token();
    const auto& profile = token.profiles[0];
    const ProfileMode held = !profile ? ProfileMode::NotConfigured
                             : IsTwoStepRecord(*profile) ? ProfileMode::TwoStep
                                                         : ProfileMode::StaticPassword;
    const std::wstring entry = ReadProfileEntry(*world.store, world.configFile, World::kSection, 1);
    return ClassifyProfileEntry(entry, EntryTestOrder::NotConfiguredFirst) == held;
}

std::unique_ptr<World> FreshWorld(const Operation& operation) {
    if (operation.startsAsTwoStep) return std::make_unique<World>(FactoryTwoStepRecord(kKey, false), kAccount);
    return std::make_unique<World>(*FactoryStaticRecord("abcd1234"), kStaticPasswordEntry);
}

TEST(TokenFaultMatrix, EveryOperationWithEveryFaultAtEveryReport) {
    for (const Operation& operation : kOperations) {
        std::uint32_t reports = 0;
        {
            auto world = FreshWorld(operation);
            ASSERT_EQ(operation.run(*world), Outcome::Right) << operation.name;
            reports = world->Token().reportsSinceArmed;
        }
        for (const Fault fault : kFaults) {
            const std::uint32_t lastReport = fault == Fault::BadChecksum ? 1 : reports;
            for (std::uint32_t report = 1; report <= lastReport; ++report) {
                const std::string where = std::string(operation.name) + ", " +
                                          kFaultNames[static_cast<int>(fault)] + " at report " + std::to_string(report);
                auto world = FreshWorld(operation);
                ASSERT_EQ(world->file.ArmFaults(FaultAt(fault, report)), "");
                const std::uint32_t start = world->clock.TickMs();
                const Outcome outcome = operation.run(*world);
                EXPECT_NE(outcome, Outcome::Wrong) << where;
                EXPECT_LE(world->clock.TickMs() - start, operation.boundMs) << where;
                // A token that is gone or stuck cannot tell whether it took a
                // write whose frame it had whole; the failure is told, and the
                // next refresh or write settles the entry.
                const bool tokenCouldTell = fault != Fault::DeviceGone && fault != Fault::StuckBusy;
                EXPECT_TRUE(EntryAgrees(*world) || (outcome == Outcome::ClearFailure && !tokenCouldTell)) << where;

                ASSERT_EQ(world->file.ArmFaults({}), "");
                world->clock.Advance(1000);
                EXPECT_EQ(operation.run(*world), Outcome::Right) << where << ", then without the fault";
                EXPECT_TRUE(EntryAgrees(*world)) << where << ", then without the fault";
            }
        }
    }
}

}  // namespace
}  // namespace orvika2
