#pragma once
// A token opened through its hidraw node, over a seam of system calls so the
// transfer code can be tested without a device.
#include <memory>
#include <string>

#include "platform/failure_note.h"
#include "platform/hid.h"
#include "platform/unique_fd_posix.h"

namespace orvika2 {

struct OpenedFd {
    UniqueFd fd;
    int error = 0;  // errno of the failed open
};

class HidrawCalls {
public:
    virtual ~HidrawCalls() = default;
    // open() for reading and writing, close-on-exec.
    virtual OpenedFd Open(const std::string& path) = 0;
    // HIDIOCSFEATURE and HIDIOCGFEATURE with the whole 9-byte report: the
    // byte count the kernel gives back, or minus errno.
    virtual int SendFeature(int fd, FeatureReport& report) = 0;
    virtual int GetFeature(int fd, FeatureReport& report) = 0;
};

std::shared_ptr<HidrawCalls> MakeKernelHidrawCalls();

// Opens the node; nullptr on failure, with the reason in `note`.
std::unique_ptr<HidDevice> OpenHidrawDevice(const std::string& path, std::shared_ptr<HidrawCalls> calls,
                                            std::shared_ptr<FailureNote> note);

}  // namespace orvika2
