#pragma once
// The mandatory integrity level of a process, as its token states it.
#include <windows.h>

#include <cstdint>
#include <optional>

namespace orvika2 {

// The label's level (0x2000 medium, 0x3000 high ...); nullopt when the
// process or its token cannot be opened or read, as for an elevated process
// seen from a non-elevated one.
std::optional<std::uint32_t> ProcessIntegrityLevel(DWORD processId);

}  // namespace orvika2
