#pragma once
// The narrow HID transport the token link talks through. Backends: Win32
// (SetupDi + HidD_*), Linux hidraw, the simulated token, and test fakes.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvika2 {

// Report id 0 in byte 0, seven data bytes, then the sequence or flags byte.
using FeatureReport = std::array<std::uint8_t, 9>;

struct HidIdentity {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// An open device. Destruction closes it.
class HidDevice {
public:
    virtual ~HidDevice() = default;
    virtual bool SendFeature(const FeatureReport& report) = 0;
    virtual bool GetFeature(FeatureReport& report) = 0;
};

class HidBus {
public:
    virtual ~HidBus() = default;
    // Device interface paths in platform order; nullopt when the platform's
    // device list cannot be obtained. Backends examine at most 1000 interfaces.
    virtual std::optional<std::vector<std::wstring>> ListInterfaces() = 0;
    // Opens the path briefly (write access, read/write sharing) and reads its
    // USB ids; nullopt when it cannot be opened or its attributes read.
    virtual std::optional<HidIdentity> ReadIdentity(const std::wstring& path) = 0;
    // Opens for writing with read and write sharing; nullptr on failure.
    virtual std::unique_ptr<HidDevice> Open(const std::wstring& path) = 0;
    // Why the last Open or transfer since the last successful Open failed,
    // in words a user can act on (a missing device permission, a token
    // pulled out); empty when the backend cannot tell.
    virtual std::string FailureAdvice() const { return {}; }
};

}  // namespace orvika2
