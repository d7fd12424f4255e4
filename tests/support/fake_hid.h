#pragma once
// A scriptable HID bus for byte-level tests: interfaces with identities,
// devices that record every report sent and answer gets from a queue or a
// callback, and failure injection.
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hid.h"

namespace orvika2::testing {

struct FakeHidEvent {
    enum class Kind { Send, Get };
    Kind kind;
    FeatureReport report;  // sent, or answered
};

// What every handle opened on one path shares; outlives the handles, so a
// test can look at it after the token session is gone.
class FakeHidDevice {
public:
    // Answers gets in order; when empty, `idle` answers.
    std::deque<FeatureReport> answers;
    FeatureReport idle{};
    // When set, answers every get instead of the queue; nullopt fails it.
    std::function<std::optional<FeatureReport>()> onGet;
    // Sees every report that was sent successfully.
    std::function<void(const FeatureReport&)> onSend;
    // The n-th send or get (0-based, over all handles) fails.
    std::optional<std::size_t> failSendAt;
    std::optional<std::size_t> failGetAt;
    // Every transfer fails, as after the device was pulled out.
    bool vanished = false;

    std::vector<FakeHidEvent> log;
    std::size_t opens = 0;

    std::vector<FeatureReport> Sent() const;
    std::size_t GetCount() const;
    // Transfers tried so far, failed ones included: the index the next one gets.
    std::size_t SendAttempts() const { return sends_; }
    std::size_t GetAttempts() const { return gets_; }
    std::vector<std::uint8_t> SentSequenceBytes() const;  // byte 8 of each sent report
    // The last frame put together from its sent chunks (skipped ones zero).
    std::array<std::uint8_t, 70> LastSentFrame() const;

    bool Send(const FeatureReport& report);
    bool Get(FeatureReport& report);

private:
    std::size_t sends_ = 0;
    std::size_t gets_ = 0;
};

class FakeHidBus final : public HidBus {
public:
    // Listed interfaces in platform order. An interface that `opens` not
    // fails both the identity read and Open.
    std::shared_ptr<FakeHidDevice> AddInterface(std::wstring path, HidIdentity identity, bool opens = true);
    std::shared_ptr<FakeHidDevice> AddToken(std::wstring path = L"\\\\?\\hid#token", std::uint16_t productId = 0x0010);

    bool listFails = false;
    std::size_t identityReads = 0;

    std::optional<std::vector<std::wstring>> ListInterfaces() override;
    std::optional<HidIdentity> ReadIdentity(const std::wstring& path) override;
    std::unique_ptr<HidDevice> Open(const std::wstring& path) override;

private:
    struct Interface {
        std::wstring path;
        HidIdentity identity;
        bool opens;
        std::shared_ptr<FakeHidDevice> device;
    };
    const Interface* Find(const std::wstring& path) const;
    std::vector<Interface> interfaces_;
};

// Queues `reports` as the answer to every frame, after its last chunk.
void AnswerEveryFrame(FakeHidDevice& device, std::vector<FeatureReport> reports);

// Reports as the token sends them.
FeatureReport StatusReport(std::uint8_t major, std::uint8_t minor, std::uint8_t build, std::uint8_t configSequence,
                           std::uint16_t profileFlags, std::uint8_t flags = 0);
FeatureReport FlagsReport(std::uint8_t flags);
// The pending chunks of an answer: data, its complemented token_crc16 low
// byte first, zero fill, flags 0x40 | index.
std::vector<FeatureReport> AnswerChunks(std::span<const std::uint8_t> data);

// Bytes from hexadecimal text such as "cc93cf18".
std::vector<std::uint8_t> FromHex(std::string_view hex);

}  // namespace orvika2::testing
