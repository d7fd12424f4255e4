#pragma once
#include <memory>
#include <string>

#include "platform/hid.h"

namespace orvika2 {

// The Win32 HID bus, which keeps a note of the last platform call that
// failed on it or on a device it opened, for diagnostics.
class Win32HidBus : public HidBus {
public:
    // For example "CreateFileW failed with error 2"; empty while nothing failed.
    virtual std::string LastError() const = 0;
};

std::unique_ptr<Win32HidBus> MakeWin32HidBus();

}  // namespace orvika2
