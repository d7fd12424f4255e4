// One verification code through CTokenLib and the in-memory simulated token,
// with a clock that costs nothing: the CPU time is the system's own.
#include <benchmark/benchmark.h>

#include "platform/sim/sim_factory.h"
#include "platform/sim/sim_token_bus.h"
#include "tests/support/counting_hid.h"
#include "token/code_generator.h"

namespace orvika2 {
namespace {

class ZeroCostClock final : public Clock {
public:
    std::uint32_t TickMs() override { return tick_; }
    void SleepMs(std::uint32_t milliseconds) override { tick_ += milliseconds; }
    std::int64_t UnixSeconds() override { return 1'234'567'890; }

private:
    std::uint32_t tick_ = 0;
};

void BM_VerificationCode(benchmark::State& benchState) {
    SimTokenState token;
    const std::array<std::uint8_t, 20> key{'1', '2', '3', '4', '5', '6', '7', '8', '9', '0',
                                           '1', '2', '3', '4', '5', '6', '7', '8', '9', '0'};
    FactoryInstall(token, 1, FactoryTwoStepRecord(key, false));
    SimServices services = NativeSimServices();
    services.wallClockMs = [] { return std::int64_t{1'234'567'890'000}; };
    testing::CountingHidBus bus(MakeInMemorySimBus(token, services));
    ZeroCostClock clock;
    const TokenPorts ports{bus, clock};

    std::uint32_t lastCode = 0;
    for (auto _ : benchState) {
        const CodeOutcome outcome = GenerateVerificationCode(ports, 1);
        if (outcome.action != CodeAction::TypeCode) {
            benchState.SkipWithError("no code");
            break;
        }
        lastCode = outcome.code.value;
        benchmark::DoNotOptimize(lastCode);
    }
    if (lastCode != 5924) benchState.SkipWithError("wrong code for the RFC 6238 vector at 1234567890");
    const double codes = static_cast<double>(benchState.iterations());
    benchState.counters["sends_per_code"] = static_cast<double>(bus.sends()) / codes;
    benchState.counters["gets_per_code"] = static_cast<double>(bus.gets()) / codes;
}
BENCHMARK(BM_VerificationCode)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvika2

BENCHMARK_MAIN();
