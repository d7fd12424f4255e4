#include "tests/support/fake_hid.h"

#include <algorithm>

#include "platform/token_crc16.h"

namespace orvika2::testing {
namespace {

class FakeHidHandle final : public HidDevice {
public:
    explicit FakeHidHandle(std::shared_ptr<FakeHidDevice> device) : device_(std::move(device)) {}
    bool SendFeature(const FeatureReport& report) override { return device_->Send(report); }
    bool GetFeature(FeatureReport& report) override { return device_->Get(report); }

private:
    std::shared_ptr<FakeHidDevice> device_;
};

}  // namespace

bool FakeHidDevice::Send(const FeatureReport& report) {
    const std::size_t index = sends_++;
    if (vanished || failSendAt == index) {
        return false;
    }
    log.push_back({FakeHidEvent::Kind::Send, report});
    if (onSend) {
        onSend(report);
    }
    return true;
}

bool FakeHidDevice::Get(FeatureReport& report) {
    const std::size_t index = gets_++;
    if (vanished || failGetAt == index) {
        return false;
    }
    if (onGet) {
        const auto answer = onGet();
        if (!answer) {
            return false;
        }
        report = *answer;
    } else if (!answers.empty()) {
        report = answers.front();
        answers.pop_front();
    } else {
        report = idle;
    }
    log.push_back({FakeHidEvent::Kind::Get, report});
    return true;
}

std::vector<FeatureReport> FakeHidDevice::Sent() const {
    std::vector<FeatureReport> sent;
    for (const auto& event : log) {
        if (event.kind == FakeHidEvent::Kind::Send) {
            sent.push_back(event.report);
        }
    }
    return sent;
}

std::size_t FakeHidDevice::GetCount() const {
    return static_cast<std::size_t>(
        std::ranges::count_if(log, [](const FakeHidEvent& e) { return e.kind == FakeHidEvent::Kind::Get; }));
}

std::vector<std::uint8_t> FakeHidDevice::SentSequenceBytes() const {
    std::vector<std::uint8_t> bytes;
    for (const auto& report : Sent()) {
        bytes.push_back(report[8]);
    }
    return bytes;
}

std::array<std::uint8_t, 70> FakeHidDevice::LastSentFrame() const {
    std::array<std::uint8_t, 70> frame{};
    for (const auto& report : Sent()) {
        const unsigned index = report[8] & 0x0F;
        if ((report[8] & 0xF0) != 0x80 || index > 9) {
            continue;
        }
        if (index == 0) {
            frame.fill(0);
        }
        std::copy_n(report.begin() + 1, 7, frame.begin() + index * 7);
    }
    return frame;
}

void AnswerEveryFrame(FakeHidDevice& device, std::vector<FeatureReport> reports) {
    device.onSend = [&device, reports = std::move(reports)](const FeatureReport& sent) {
        if (sent[8] == 0x89) {
            device.answers.insert(device.answers.end(), reports.begin(), reports.end());
        }
    };
}

std::shared_ptr<FakeHidDevice> FakeHidBus::AddInterface(std::wstring path, HidIdentity identity, bool opens) {
    auto device = std::make_shared<FakeHidDevice>();
    interfaces_.push_back({std::move(path), identity, opens, device});
    return device;
}

std::shared_ptr<FakeHidDevice> FakeHidBus::AddToken(std::wstring path, std::uint16_t productId) {
    auto device = AddInterface(std::move(path), HidIdentity{0x1050, productId});
    device->idle = StatusReport(2, 2, 0, 0, 0x0003);
    return device;
}

const FakeHidBus::Interface* FakeHidBus::Find(const std::wstring& path) const {
    const auto it = std::ranges::find(interfaces_, path, &Interface::path);
    return it == interfaces_.end() ? nullptr : &*it;
}

std::optional<std::vector<std::wstring>> FakeHidBus::ListInterfaces() {
    if (listFails) {
        return std::nullopt;
    }
    std::vector<std::wstring> paths;
    for (const auto& entry : interfaces_) {
        paths.push_back(entry.path);
    }
    return paths;
}

std::optional<HidIdentity> FakeHidBus::ReadIdentity(const std::wstring& path) {
    ++identityReads;
    const Interface* entry = Find(path);
    if (!entry || !entry->opens) {
        return std::nullopt;
    }
    return entry->identity;
}

std::unique_ptr<HidDevice> FakeHidBus::Open(const std::wstring& path) {
    const Interface* entry = Find(path);
    if (!entry || !entry->opens || entry->device->vanished) {
        return nullptr;
    }
    ++entry->device->opens;
    return std::make_unique<FakeHidHandle>(entry->device);
}

FeatureReport StatusReport(std::uint8_t major, std::uint8_t minor, std::uint8_t build, std::uint8_t configSequence,
                           std::uint16_t profileFlags, std::uint8_t flags) {
    return FeatureReport{0,
                         0,
                         major,
                         minor,
                         build,
                         configSequence,
                         static_cast<std::uint8_t>(profileFlags & 0xFF),
                         static_cast<std::uint8_t>(profileFlags >> 8),
                         flags};
}

FeatureReport FlagsReport(std::uint8_t flags) {
    FeatureReport report{};
    report[8] = flags;
    return report;
}

std::vector<FeatureReport> AnswerChunks(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> block(data.begin(), data.end());
    const auto crc = static_cast<std::uint16_t>(~token_crc16(data));
    block.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    block.push_back(static_cast<std::uint8_t>(crc >> 8));
    block.resize((block.size() + 6) / 7 * 7, 0);
    std::vector<FeatureReport> chunks;
    for (std::size_t i = 0; i * 7 < block.size(); ++i) {
        FeatureReport report{};
        std::copy_n(block.begin() + i * 7, 7, report.begin() + 1);
        report[8] = static_cast<std::uint8_t>(0x40 | i);
        chunks.push_back(report);
    }
    return chunks;
}

std::vector<std::uint8_t> FromHex(std::string_view hex) {
    const auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(nibble(hex[i]) << 4 | nibble(hex[i + 1])));
    }
    return bytes;
}

}  // namespace orvika2::testing
