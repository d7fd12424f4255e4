#include "token/token_lib.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "platform/secure_memory.h"
#include "platform/token_crc16.h"
#include "token/response_collector.h"
#include "token/token_frame.h"

namespace orvika2 {
namespace {

constexpr std::size_t kMaxInterfacesExamined = 1000;
constexpr std::size_t kConfigPayloadSize = 58;  // record + 6-byte access code
constexpr std::size_t kRecordChecksumOffset = 50;
constexpr std::uint8_t kCommandSerial = 0x10;
constexpr std::uint16_t kSerialTimeoutMs = 50;
constexpr int kIdlePauses = 61;
constexpr std::uint32_t kIdlePauseMs = 50;

bool IsTokenIdentity(const HidIdentity& identity) {
    return identity.vendorId == kTokenVendorId && IsTokenProductId(identity.productId);
}

}  // namespace

bool IsTokenProductId(std::uint16_t productId) {
    return productId == 0x0010 || productId == 0x0110 || productId == 0x0111;
}

CTokenLib::CTokenLib(TokenPorts ports) : ports_(ports) {}

CTokenLib::~CTokenLib() {
    Close();
    deviceList_.clear();
}

void CTokenLib::Close() {
    device_.reset();
    lastCommand_ = 0;
}

std::uint16_t CTokenLib::EnumerateTokens() {
    deviceList_.clear();
    const auto interfaces = ports_.bus.ListInterfaces();
    if (!interfaces) {
        return kEnumerationFailed;
    }
    std::uint16_t count = 0;
    const auto examined = std::min(interfaces->size(), kMaxInterfacesExamined);
    for (std::size_t i = 0; i < examined; ++i) {
        const std::wstring& path = (*interfaces)[i];
        const auto identity = ports_.bus.ReadIdentity(path);
        if (identity && IsTokenIdentity(*identity)) {
            deviceList_.push_front(path);
            ++count;
        }
    }
    return count;
}

TokenResult CTokenLib::Open() {
    Close();
    const std::uint16_t count = EnumerateTokens();
    if (count == 0) {
        return TokenResult::NotInserted;
    }
    if (count != 1) {
        return TokenResult::MoreThanOneToken;
    }
    return OpenListedToken() ? TokenResult::Success : TokenResult::OperationFailed;
}

bool CTokenLib::OpenListedToken() {
    Close();
    const bool exactlyOne = !deviceList_.empty() && std::next(deviceList_.begin()) == deviceList_.end();
    if (exactlyOne) {
        device_ = ports_.bus.Open(deviceList_.front());
    }
    return device_ != nullptr;
}

bool CTokenLib::GetRawReport(FeatureReport& report) {
    report.fill(0);
    return device_ && device_->GetFeature(report);
}

TokenResult CTokenLib::ReadStatus(TokenStatus& out) {
    if (!device_) {
        return TokenResult::DeviceNotOpen;
    }
    FeatureReport report{};
    if (!GetRawReport(report)) {
        return TokenResult::OperationFailed;
    }
    lastStatusFlags_ = report[8];
    return ParseStatusReport(report, out);
}

TokenResult CTokenLib::ReadStatusClearingStaleAnswer(TokenStatus& out) {
    const TokenResult result = ReadStatus(out);
    // Answer data alone: not busy, not waiting for the button.
    if (result != TokenResult::NotReady || (lastStatusFlags_ & 0xE0) != 0x40) {
        return result;
    }
    if (!device_->SendFeature(ResetReport())) {
        return TokenResult::OperationFailed;
    }
    return ReadStatus(out);
}

TokenResult CTokenLib::WriteFrame(std::uint8_t command, std::span<const std::uint8_t> payload) {
    if (!device_) {
        return TokenResult::DeviceNotOpen;
    }
    if (payload.size() > kTokenPayloadSize) {
        return TokenResult::ParameterError;
    }
    TokenStatus status;
    if (const TokenResult result = ReadStatus(status); result != TokenResult::Success) {
        return result;
    }
    if (command > 0x03 && !status.FirmwareAtLeast(2, 2)) {
        return TokenResult::Unsupported;
    }
    expectedConfigSequence_ = status.configSequence;
    lastCommand_ = command;
    TokenFrame frame = BuildTokenFrame(command, payload);
    const TokenResult result = SendTokenFrame(*device_, ports_.clock, frame);
    SecureWipe(frame.data(), frame.size());
    return result;
}

TokenResult CTokenLib::WriteConfig(bool profile2, const ProfileRecordBytes* record) {
    std::array<std::uint8_t, kConfigPayloadSize> payload{};
    if (record) {
        std::ranges::copy(*record, payload.begin());
        const auto crc = static_cast<std::uint16_t>(~token_crc16(std::span(payload).first(kRecordChecksumOffset)));
        payload[kRecordChecksumOffset] = static_cast<std::uint8_t>(crc & 0xFF);
        payload[kRecordChecksumOffset + 1] = static_cast<std::uint8_t>(crc >> 8);
    }
    const TokenResult result = WriteFrame(profile2 ? 0x03 : 0x01, payload);
    SecureWipe(payload.data(), payload.size());
    // The token advances its sequence on a record write and resets it to 0
    // when the profile is cleared.
    expectedConfigSequence_ = record ? static_cast<std::uint8_t>(expectedConfigSequence_ + 1) : 0;
    return result;
}

TokenResult CTokenLib::RequestSerial() { return WriteFrame(kCommandSerial, {}); }

TokenResult CTokenLib::ReadResponse(std::uint16_t timeoutMs, std::span<std::uint8_t> destination) {
    if (!device_) {
        return TokenResult::OperationFailed;
    }
    ResponseCollector collector;
    const std::uint32_t start = ports_.clock.TickMs();
    TokenResult result =
        collector.Collect(*device_, ports_.clock, timeoutMs, destination, lastCommand_, expectedConfigSequence_);
    if (result == TokenResult::OperationFailed && destination.empty() && IsConfigWriteCommand(lastCommand_)) {
        // A lost report is not a lost write: the configuration sequence
        // tells whether the token took it, so ask once more in the time left.
        const std::uint32_t elapsed = ports_.clock.TickMs() - start;
        const auto left = static_cast<std::uint16_t>(elapsed < timeoutMs ? timeoutMs - elapsed : 0);
        result = collector.Collect(*device_, ports_.clock, left, destination, lastCommand_, expectedConfigSequence_);
    }
    lastAnswerChunks_ = collector.chunksTaken;
    if (collector.answerLeftPending) {
        // Best effort: a token that is gone needs no reset.
        device_->SendFeature(ResetReport());
    }
    return result;
}

TokenResult CTokenLib::CancelPending() {
    TokenStatus status;
    const TokenResult result = ReadStatus(status);
    if (result != TokenResult::NotReady) {
        return result;
    }
    if (!device_->SendFeature(ResetReport())) {
        return TokenResult::OperationFailed;
    }
    return ReadStatus(status);
}

TokenResult WaitForIdleToken(CTokenLib& token, TokenStatus& status) {
    TokenResult result = token.ReadStatusClearingStaleAnswer(status);
    for (int pause = 0; pause < kIdlePauses && result == TokenResult::NotReady; ++pause) {
        token.clock().SleepMs(kIdlePauseMs);
        result = token.ReadStatusClearingStaleAnswer(status);
    }
    return result;
}

std::wstring ReadSerialString(TokenPorts ports) {
    CTokenLib token(ports);
    token.Open();
    TokenStatus status;
    WaitForIdleToken(token, status);
    std::array<std::uint8_t, 4> serial{};
    if (token.RequestSerial() != TokenResult::Success ||
        token.ReadResponse(kSerialTimeoutMs, serial) != TokenResult::Success) {
        return {};
    }
    std::wstring text;
    for (std::uint8_t byte : serial) {
        wchar_t digits[3];
        std::swprintf(digits, 3, L"%02x", byte);
        text += digits;
    }
    return text;
}

}  // namespace orvika2
