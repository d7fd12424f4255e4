#include "platform/hidraw_device_posix.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <system_error>

namespace orvika2 {
namespace {

// A signal storm is a failure too, not a reason to spin for ever.
constexpr int kMaxInterruptions = 100;

class KernelHidrawCalls final : public HidrawCalls {
public:
    OpenedFd Open(const std::string& path) override {
        for (;;) {
            const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
            if (fd >= 0) return {UniqueFd(fd), 0};
            if (errno != EINTR) return {UniqueFd(), errno};
        }
    }
    int SendFeature(int fd, FeatureReport& report) override {
        return Result(::ioctl(fd, HIDIOCSFEATURE(sizeof(FeatureReport)), report.data()));
    }
    int GetFeature(int fd, FeatureReport& report) override {
        return Result(::ioctl(fd, HIDIOCGFEATURE(sizeof(FeatureReport)), report.data()));
    }

private:
    static int Result(int ioctlResult) { return ioctlResult < 0 ? -errno : ioctlResult; }
};

bool MeansRemoved(int error) {
    return error == ENODEV || error == ENOENT || error == ENXIO || error == ESHUTDOWN;
}

std::string Removed(const std::string& path) { return "the token was removed (" + path + " is gone)"; }

class HidrawDevice final : public HidDevice {
public:
    HidrawDevice(UniqueFd fd, std::string path, std::shared_ptr<HidrawCalls> calls, std::shared_ptr<FailureNote> note)
        : fd_(std::move(fd)), path_(std::move(path)), calls_(std::move(calls)), note_(std::move(note)) {}

    bool SendFeature(const FeatureReport& report) override {
        FeatureReport buffer = report;
        return Transfer("HIDIOCSFEATURE", buffer, &HidrawCalls::SendFeature);
    }

    bool GetFeature(FeatureReport& report) override {
        report[0] = 0;  // the report id
        return Transfer("HIDIOCGFEATURE", report, &HidrawCalls::GetFeature);
    }

private:
    bool Transfer(const char* request, FeatureReport& report, int (HidrawCalls::*call)(int, FeatureReport&)) {
        int result = -EINTR;
        for (int attempt = 0; result == -EINTR && attempt < kMaxInterruptions; ++attempt) {
            result = (*calls_.*call)(fd_.get(), report);
        }
        // A feature report goes whole or not at all; a short one is a failure.
        if (result == static_cast<int>(report.size())) return true;
        if (result >= 0) {
            note_->Record(std::string(request) + " on " + path_ + " moved " + std::to_string(result) + " of " +
                          std::to_string(report.size()) + " bytes");
        } else if (MeansRemoved(-result)) {
            note_->Record(Removed(path_));
        } else {
            note_->Record(std::string(request) + " on " + path_ + " failed: " + std::generic_category().message(-result));
        }
        return false;
    }

    UniqueFd fd_;
    std::string path_;
    std::shared_ptr<HidrawCalls> calls_;
    std::shared_ptr<FailureNote> note_;
};

std::string DescribeOpenFailure(const std::string& path, int error) {
    if (error == EACCES || error == EPERM) return "permission denied on " + path + "; install the udev rule";
    if (MeansRemoved(error)) return Removed(path);
    return "cannot open " + path + ": " + std::generic_category().message(error);
}

}  // namespace

std::shared_ptr<HidrawCalls> MakeKernelHidrawCalls() { return std::make_shared<KernelHidrawCalls>(); }

std::unique_ptr<HidDevice> OpenHidrawDevice(const std::string& path, std::shared_ptr<HidrawCalls> calls,
                                            std::shared_ptr<FailureNote> note) {
    OpenedFd opened = calls->Open(path);
    if (!opened.fd) {
        note->Record(DescribeOpenFailure(path, opened.error));
        return nullptr;
    }
    note->Clear();
    return std::make_unique<HidrawDevice>(std::move(opened.fd), path, std::move(calls), std::move(note));
}

}  // namespace orvika2
