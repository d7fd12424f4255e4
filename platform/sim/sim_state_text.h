#pragma once
// The state file's text: one key=value line per field, bytes in hex, an
// empty value for "none". Lines starting with # are comments.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/sim/sim_token_state.h"

namespace orvika2 {

std::string FormatSimState(const SimTokenState& state);

// Empty on success, else what is wrong and on which line; `state` is then
// left unspecified.
std::string ParseSimState(std::string_view text, SimTokenState& state);

// The forms the file uses, also accepted on the command line: the serial as
// eight hex digits, the firmware as major.minor.build.
std::optional<std::array<std::uint8_t, 4>> ParseSimSerial(std::string_view text);
std::optional<std::array<std::uint8_t, 3>> ParseSimFirmware(std::string_view text);
std::string FormatSimSerial(const std::array<std::uint8_t, 4>& serial);
std::string FormatSimFirmware(const std::array<std::uint8_t, 3>& firmware);

}  // namespace orvika2
