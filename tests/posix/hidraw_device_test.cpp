#include <gtest/gtest.h>

#include <cerrno>
#include <deque>
#include <string>
#include <vector>

#include "platform/hidraw_device_posix.h"
#include "tests/posix/fake_hidraw.h"

namespace orvika2 {
namespace {

constexpr const char* kPath = "/dev/hidraw4";
constexpr FeatureReport kReport{0, 1, 2, 3, 4, 5, 6, 7, 0x8F};

struct TransferCase {
    std::string name;
    std::deque<int> results;  // what the ioctl gives back, call by call
    bool succeeds;
    std::size_t calls;
    std::string advice;  // after a get
};

std::vector<TransferCase> TransferCases() {
    return {
        {"whole report", {9}, true, 1, ""},
        {"interrupted twice", {-EINTR, -EINTR, 9}, true, 3, ""},
        {"interrupted for ever", std::deque<int>(100, -EINTR), false, 100,
         "HIDIOCGFEATURE on /dev/hidraw4 failed: Interrupted system call"},
        {"short", {5}, false, 1, "HIDIOCGFEATURE on /dev/hidraw4 moved 5 of 9 bytes"},
        {"nothing moved", {0}, false, 1, "HIDIOCGFEATURE on /dev/hidraw4 moved 0 of 9 bytes"},
        {"device gone", {-ENODEV}, false, 1, "the token was removed (/dev/hidraw4 is gone)"},
        {"interrupted, then gone", {-EINTR, -ENODEV}, false, 2, "the token was removed (/dev/hidraw4 is gone)"},
        {"input/output error", {-EIO}, false, 1, "HIDIOCGFEATURE on /dev/hidraw4 failed: Input/output error"},
        {"stalled", {-EPIPE}, false, 1, "HIDIOCGFEATURE on /dev/hidraw4 failed: Broken pipe"},
    };
}

struct Opened {
    std::shared_ptr<testing::ScriptedHidrawCalls> calls = std::make_shared<testing::ScriptedHidrawCalls>();
    std::shared_ptr<FailureNote> note = std::make_shared<FailureNote>();
    std::unique_ptr<HidDevice> device;

    explicit Opened(const std::deque<int>& results) {
        device = OpenHidrawDevice(kPath, calls, note);
        calls->results = results;
        calls->answer = kReport;
    }
};

TEST(HidrawDevice, TransfersRetryInterruptionsAndRefuseShortOrFailedOnes) {
    for (const auto& c : TransferCases()) {
        Opened get(c.results);
        ASSERT_NE(get.device, nullptr);
        FeatureReport report{};
        report.fill(0xEE);
        EXPECT_EQ(get.device->GetFeature(report), c.succeeds) << c.name;
        ASSERT_EQ(get.calls->passed.size(), c.calls) << c.name;
        EXPECT_EQ(get.calls->passed.front()[0], 0) << c.name << ": report id";
        if (c.succeeds) {
            EXPECT_EQ(report, kReport) << c.name;
        }
        EXPECT_EQ(get.note->Text(), c.advice) << c.name;

        Opened send(c.results);
        EXPECT_EQ(send.device->SendFeature(kReport), c.succeeds) << c.name;
        EXPECT_EQ(send.calls->passed, std::vector<FeatureReport>(c.calls, kReport)) << c.name;
        EXPECT_EQ(send.note->Text().empty(), c.succeeds) << c.name;
    }
}

TEST(HidrawDevice, AFailedOpenSaysWhy) {
    const std::vector<std::pair<int, std::string>> cases = {
        {EACCES, "permission denied on /dev/hidraw4; install the udev rule"},
        {EPERM, "permission denied on /dev/hidraw4; install the udev rule"},
        {ENOENT, "the token was removed (/dev/hidraw4 is gone)"},
        {ENXIO, "the token was removed (/dev/hidraw4 is gone)"},
        {EBUSY, "cannot open /dev/hidraw4: Device or resource busy"},
    };
    for (const auto& [error, advice] : cases) {
        const auto calls = std::make_shared<testing::ScriptedHidrawCalls>();
        calls->openError = error;
        const auto note = std::make_shared<FailureNote>();
        EXPECT_EQ(OpenHidrawDevice(kPath, calls, note), nullptr) << advice;
        EXPECT_EQ(calls->opened, std::vector<std::string>{kPath});
        EXPECT_EQ(note->Text(), advice);
    }
}

}  // namespace
}  // namespace orvika2
