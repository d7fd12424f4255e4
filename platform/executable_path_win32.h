#pragma once
#include <optional>
#include <string>

namespace orvika2 {

// The running program file's full path as the system reports it, whole
// however long; nullopt when it cannot be had.
std::optional<std::wstring> ExecutablePath();

}  // namespace orvika2
