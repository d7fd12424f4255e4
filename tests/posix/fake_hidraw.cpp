#include "tests/posix/fake_hidraw.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include <fstream>

namespace orvika2::testing {

namespace fs = std::filesystem;

namespace {

void WriteFile(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

}  // namespace

void FakeSysfs::AddNode(const std::string& node, const std::string& uevent, const std::string& protocol) {
    const fs::path usbInterface = dir_ / ("sys/devices/usb1/1-1/1-1:1." + std::to_string(interfaces_++));
    const fs::path hidDevice = usbInterface / ("0003:1050:0010." + node);
    fs::create_directories(hidDevice / "hidraw" / node);
    if (!protocol.empty()) WriteFile(usbInterface / "bInterfaceProtocol", protocol + "\n");
    if (!uevent.empty()) WriteFile(hidDevice / "uevent", uevent);
    fs::create_directory_symlink(hidDevice, hidDevice / "hidraw" / node / "device");
    fs::create_directories(ClassFolder());
    fs::create_directory_symlink(hidDevice / "hidraw" / node, ClassFolder() / node);
}

void FakeSysfs::AddEntry(const std::string& name) {
    fs::create_directories(ClassFolder() / name);
}

std::string UeventWithHidId(const std::string& hidId) {
    return "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=Some Keyboard\nHID_PHYS=usb-0000:00:14.0-1/input0\n";
}

OpenedFd ScriptedHidrawCalls::Open(const std::string& path) {
    opened.push_back(path);
    if (openError != 0) return {UniqueFd(), openError};
    return {UniqueFd(::open("/dev/null", O_RDONLY | O_CLOEXEC)), 0};
}

int ScriptedHidrawCalls::Next(int fd, FeatureReport& report, bool get) {
    EXPECT_GE(fd, 0);
    passed.push_back(report);
    int result = static_cast<int>(report.size());
    if (!results.empty()) {
        result = results.front();
        results.pop_front();
    }
    if (get && result == static_cast<int>(report.size())) report = answer;
    return result;
}

}  // namespace orvika2::testing
