#pragma once
// A simulated token whose whole state is a text file, locked for the length
// of every operation, so token objects in several threads and processes
// share one token.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/sim/sim_services.h"
#include "platform/sim/sim_token_state.h"

namespace orvika2 {

// Every operation returns an empty string on success, else a message that
// names the file. A file that cannot be read or parsed is never written.
class SimTokenFile {
public:
    SimTokenFile(std::filesystem::path path, SimServices services);

    // Writes `state` as a new token, replacing whatever the file held.
    std::string Create(const SimTokenState& state) const;
    std::string Read(SimTokenState& state) const;
    // Loads, lets `change` work on the state and saves it, all under the lock.
    std::string Update(const std::function<void(SimTokenState&)>& change) const;

    // `released`: whether a challenge was waiting for the touch.
    std::string Touch(bool& released) const;
    std::string Press(int profile, std::optional<std::string>& typed) const;
    std::string Show(std::string& summary) const;
    std::string SetAutoTouch(std::optional<std::uint32_t> delayMs) const;
    std::string SetBusyGets(std::uint32_t gets) const;
    std::string ArmFaults(const SimFaults& faults) const;

    const std::filesystem::path& path() const { return path_; }
    const SimServices& services() const { return services_; }

private:
    std::string Problem(const std::string& what) const;

    std::filesystem::path path_;
    SimServices services_;
};

}  // namespace orvika2
