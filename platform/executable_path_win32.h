#pragma once
#include <string>

namespace orvika2 {

// The running program file's full path as the system reports it (at most
// 260 characters); empty when it cannot be had.
std::wstring ExecutablePath();

}  // namespace orvika2
