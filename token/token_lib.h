#pragma once
#include <array>
#include <cstdint>
#include <forward_list>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/clock.h"
#include "platform/hid.h"
#include "token/token_result.h"
#include "token/token_status.h"

namespace orvika2 {

inline constexpr std::size_t kProfileRecordSize = 52;
// The 52 bytes of a profile record as the token stores them.
using ProfileRecordBytes = std::array<std::uint8_t, kProfileRecordSize>;

inline constexpr std::uint16_t kTokenVendorId = 0x1050;
bool IsTokenProductId(std::uint16_t productId);

// What a token session needs from the outside. Each user action builds its
// own CTokenLib over these.
struct TokenPorts {
    HidBus& bus;
    Clock& clock;
};

inline constexpr std::uint16_t kEnumerationFailed = 0xFFFF;

class CTokenLib {
public:
    explicit CTokenLib(TokenPorts ports);
    CTokenLib(const CTokenLib&) = delete;
    CTokenLib& operator=(const CTokenLib&) = delete;
    virtual ~CTokenLib();

    std::uint16_t EnumerateTokens();
    TokenResult Open();
    // Opens the single listed token, as the callers that skip Open's result
    // do after their own EnumerateTokens; false when nothing was opened.
    bool OpenListedToken();
    bool IsOpen() const { return device_ != nullptr; }
    void Close();

    TokenResult ReadStatus(TokenStatus& out);
    // ReadStatus, but an answer found pending first gets the reset report:
    // no session collects an answer left by an earlier one, and the token
    // would hold it until replugged.
    TokenResult ReadStatusClearingStaleAnswer(TokenStatus& out);
    TokenResult WriteFrame(std::uint8_t command, std::span<const std::uint8_t> payload);
    // Writes profile 1 or 2; no record clears the profile. The record's
    // checksum bytes 50-51 are replaced by the computed one.
    TokenResult WriteConfig(bool profile2, const ProfileRecordBytes* record);
    TokenResult RequestSerial();
    // destination.size() is the expected answer length (0: none). An answer
    // that did not arrive whole is dropped with the reset report, so that it
    // does not block the next request.
    TokenResult ReadResponse(std::uint16_t timeoutMs, std::span<std::uint8_t> destination);
    // Answer chunks the last ReadResponse took: 0 when the token had none.
    std::uint8_t LastAnswerChunks() const { return lastAnswerChunks_; }
    TokenResult CancelPending();

    // Raw 9-byte status get, for the idle waits that look at the flags byte.
    bool GetRawReport(FeatureReport& report);

    const std::forward_list<std::wstring>& DeviceList() const { return deviceList_; }
    std::uint8_t LastCommand() const { return lastCommand_; }
    std::uint8_t ExpectedConfigSequence() const { return expectedConfigSequence_; }
    Clock& clock() { return ports_.clock; }

private:
    TokenPorts ports_;
    std::unique_ptr<HidDevice> device_;
    std::forward_list<std::wstring> deviceList_;  // newest first
    std::uint8_t lastCommand_ = 0;
    std::uint8_t expectedConfigSequence_ = 0;
    std::uint8_t lastStatusFlags_ = 0;
    std::uint8_t lastAnswerChunks_ = 0;
};

// Waits while ReadStatus says NotReady: 50 ms pauses, at most 61; returns the
// last result, with `status` from the last report obtained. A stale answer is
// dropped rather than waited for. A failed get or
// no open device ends the wait at once, so this is also the idle wait on the
// raw status report.
TokenResult WaitForIdleToken(CTokenLib& token, TokenStatus& status);

// Eight lowercase hex digits of the token's serial, or empty on any failure.
std::wstring ReadSerialString(TokenPorts ports);

}  // namespace orvika2
