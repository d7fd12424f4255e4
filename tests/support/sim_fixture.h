#pragma once
// A simulated token in memory behind a fake clock, for whole operations
// through the real CTokenLib, report by report.
#include <memory>

#include "platform/sim/sim_factory.h"
#include "platform/sim/sim_token.h"
#include "platform/sim/sim_token_bus.h"
#include "tests/support/fake_clock.h"
#include "token/token_lib.h"

namespace orvika2::testing {

class SimToken {
public:
    SimToken() {
        state.serial = {0x00, 0x0a, 0x1b, 0xff};
        SimServices services = NativeSimServices();
        // The token's own time follows the fake clock, so touch waits expire
        // when the test says so.
        services.wallClockMs = [this] { return clock.UnixSeconds() * 1000 + clock.TickMs() % 1000; };
        bus = MakeInMemorySimBus(state, services);
    }
    TokenPorts ports() { return {*bus, clock}; }
    void InstallTwoStep(int profile, const std::array<std::uint8_t, 20>& key, bool touch = false) {
        FactoryInstall(state, profile, FactoryTwoStepRecord(key, touch));
    }
    void ArmFaults(const SimFaults& faults) { SimArmFaults(state, faults); }

    SimTokenState state;
    FakeClock clock;
    std::unique_ptr<HidBus> bus;
};

}  // namespace orvika2::testing
