#pragma once
// HID buses holding the one simulated token, vendor 0x1050 product 0x0010.
#include <filesystem>
#include <memory>
#include <string>

#include "platform/hid.h"
#include "platform/sim/sim_services.h"
#include "platform/sim/sim_token_state.h"

namespace orvika2 {

inline constexpr std::uint16_t kSimVendorId = 0x1050;
inline constexpr std::uint16_t kSimProductId = 0x0010;

// The token lives in `state`, which must outlive the bus and its devices.
// No file and no lock: for single-threaded tests and benchmarks.
std::unique_ptr<HidBus> MakeInMemorySimBus(SimTokenState& state, SimServices services = NativeSimServices());

struct SimTokenBus {
    std::unique_ptr<HidBus> bus;  // never null
    // Empty, or why the file cannot serve as a token right now, naming it;
    // the bus then lists no device.
    std::string error;
};

// The token whose state is the file at `path`: every report locks, loads
// and saves it. The device's interface path is L"sim:" + path.
SimTokenBus MakeSimTokenBus(const std::filesystem::path& path, SimServices services = NativeSimServices());

}  // namespace orvika2
