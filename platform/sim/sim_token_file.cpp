#include "platform/sim/sim_token_file.h"

#include "platform/secure_memory.h"
#include "platform/sim/sim_describe.h"
#include "platform/sim/sim_state_text.h"
#include "platform/sim/sim_static_output.h"
#include "platform/sim/sim_token.h"
#include "platform/text.h"

namespace orvika2 {

SimTokenFile::SimTokenFile(std::filesystem::path path, SimServices services)
    : path_(std::move(path)), services_(std::move(services)) {}

std::string SimTokenFile::Problem(const std::string& what) const {
    return "simulated token file '" + NarrowUtf8(path_.wstring()) + "': " + what;
}

std::string SimTokenFile::Create(const SimTokenState& state) const {
    const auto file = services_.openStateFile(path_, StateFileOpening::CreateIfMissing);
    if (!file) return Problem("cannot be created or locked");
    SecretString text(FormatSimState(state));
    if (!file->ReplaceAll(text.get())) return Problem("cannot be written");
    return {};
}

std::string SimTokenFile::Read(SimTokenState& state) const {
    return Update([&state](const SimTokenState& current) { state = current; });
}

std::string SimTokenFile::Update(const std::function<void(SimTokenState&)>& change) const {
    const auto file = services_.openStateFile(path_, StateFileOpening::Existing);
    if (!file) return Problem("cannot be opened or locked");
    SecretString before;
    if (!file->ReadAll(before.get())) return Problem("cannot be read");
    SimTokenState state;
    if (const std::string error = ParseSimState(before.get(), state); !error.empty()) return Problem(error);
    change(state);
    SecretString after(FormatSimState(state));
    // A get that changed nothing need not touch the disk.
    if (after.get() != before.get() && !file->ReplaceAll(after.get())) return Problem("cannot be written");
    return {};
}

std::string SimTokenFile::Touch(bool& released) const {
    return Update([&](SimTokenState& state) { released = SimTouch(state, services_.wallClockMs()); });
}

std::string SimTokenFile::Press(int profile, std::optional<std::string>& typed) const {
    return Update([&](const SimTokenState& state) { typed = SimPress(state, profile); });
}

std::string SimTokenFile::Show(std::string& summary) const {
    return Update([&](const SimTokenState& state) { summary = DescribeSimToken(state, services_.wallClockMs()); });
}

std::string SimTokenFile::SetAutoTouch(std::optional<std::uint32_t> delayMs) const {
    return Update([&](SimTokenState& state) { state.autoTouchMs = delayMs; });
}

std::string SimTokenFile::SetBusyGets(std::uint32_t gets) const {
    return Update([&](SimTokenState& state) { state.busyGets = gets; });
}

std::string SimTokenFile::ArmFaults(const SimFaults& faults) const {
    return Update([&](SimTokenState& state) { SimArmFaults(state, faults); });
}

}  // namespace orvika2
