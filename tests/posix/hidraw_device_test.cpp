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
    std::string advice;  // for the get; the send names HIDIOCSFEATURE
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

TEST(HidrawDevice, GetFeatureRetriesInterruptionsAndRefusesShortOrFailedTransfers) {
    for (const auto& c : TransferCases()) {
        Opened opened(c.results);
        ASSERT_NE(opened.device, nullptr);
        FeatureReport report{};
        report.fill(0xEE);
        EXPECT_EQ(opened.device->GetFeature(report), c.succeeds) << c.name;
        ASSERT_EQ(opened.calls->passed.size(), c.calls) << c.name;
        EXPECT_EQ(opened.calls->passed.front()[0], 0) << c.name << ": report id";
        if (c.succeeds) {
            EXPECT_EQ(report, kReport) << c.name;
        }
        EXPECT_EQ(opened.note->Text(), c.advice) << c.name;
    }
}

TEST(HidrawDevice, SendFeatureRetriesInterruptionsAndRefusesShortOrFailedTransfers) {
    for (const auto& c : TransferCases()) {
        Opened opened(c.results);
        ASSERT_NE(opened.device, nullptr);
        EXPECT_EQ(opened.device->SendFeature(kReport), c.succeeds) << c.name;
        ASSERT_EQ(opened.calls->passed.size(), c.calls) << c.name;
        for (const auto& passed : opened.calls->passed) EXPECT_EQ(passed, kReport) << c.name;
        std::string advice = c.advice;
        if (const auto at = advice.find("HIDIOCGFEATURE"); at != std::string::npos) advice.replace(at, 14, "HIDIOCSFEATURE");
        EXPECT_EQ(opened.note->Text(), advice) << c.name;
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
