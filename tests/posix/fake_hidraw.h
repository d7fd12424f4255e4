#pragma once
// A fake sysfs tree for the hidraw discovery, and scripted system calls for
// the hidraw device.
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/hidraw_device_posix.h"
#include "tests/support/temp_dir.h"

namespace orvika2::testing {

// Folders and links laid out as the kernel does: the class entry links to
// the node below its HID device, whose parent is the USB interface.
class FakeSysfs {
public:
    static constexpr const char* kBootKeyboard = "01";
    static constexpr const char* kNoBootProtocol = "00";

    // `uevent` is the HID device's uevent text (omitted when empty); an
    // empty `protocol` leaves the interface without bInterfaceProtocol, as
    // for a HID device that is not on USB.
    void AddNode(const std::string& node, const std::string& uevent, const std::string& protocol);
    void AddEntry(const std::string& name);  // a class entry with nothing behind it
    std::filesystem::path ClassFolder() const { return dir_ / "sys/class/hidraw"; }
    const std::filesystem::path& root() const { return dir_.path(); }
    std::string DevicePath(const std::string& node) const { return (dir_.path() / "dev" / node).string(); }

private:
    TempDir dir_;
    int interfaces_ = 0;
};

std::string UeventWithHidId(const std::string& hidId);

// Open succeeds with a descriptor of /dev/null unless openError is set;
// each ioctl takes the next scripted result (9 when none is left) and a get
// copies `answer` into the report when it succeeds.
class ScriptedHidrawCalls final : public HidrawCalls {
public:
    int openError = 0;
    std::deque<int> results;
    FeatureReport answer{};
    std::vector<std::string> opened;
    std::vector<FeatureReport> passed;  // the buffer as each ioctl received it

    OpenedFd Open(const std::string& path) override;
    int SendFeature(int fd, FeatureReport& report) override { return Next(fd, report, false); }
    int GetFeature(int fd, FeatureReport& report) override { return Next(fd, report, true); }

private:
    int Next(int fd, FeatureReport& report, bool get);
};

}  // namespace orvika2::testing
