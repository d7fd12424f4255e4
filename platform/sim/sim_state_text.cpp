#include "platform/sim/sim_state_text.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <span>
#include <vector>

namespace orvika2 {
namespace {

// Eight chunks of seven bytes: the most an answer can span.
constexpr std::size_t kMaxAnswerSize = 56;

std::string FormatHex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0F]);
    }
    return text;
}

bool ReadHex(std::string_view text, std::vector<std::uint8_t>& out) {
    if (text.size() % 2 != 0) return false;
    out.clear();
    for (std::size_t i = 0; i < text.size(); i += 2) {
        std::uint8_t byte = 0;
        const auto [end, error] = std::from_chars(text.data() + i, text.data() + i + 2, byte, 16);
        if (error != std::errc{} || end != text.data() + i + 2) return false;
        out.push_back(byte);
    }
    return true;
}

template <std::size_t N>
bool ReadHexExact(std::string_view text, std::array<std::uint8_t, N>& out) {
    std::vector<std::uint8_t> bytes;
    if (!ReadHex(text, bytes) || bytes.size() != N) return false;
    std::ranges::copy(bytes, out.begin());
    return true;
}

template <class T>
bool ReadNumber(std::string_view text, T& out) {
    if (text.empty() || text.front() == '+') return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc{} && end == text.data() + text.size();
}

struct Field {
    std::string_view key;
    std::function<std::string(const SimTokenState&)> write;
    std::function<bool(std::string_view, SimTokenState&)> read;
};

// A time stamp in wall-clock milliseconds, refused outside 0..latest.
bool ReadTime(std::string_view text, std::int64_t& out) {
    return ReadNumber(text, out) && out >= 0 && out <= kSimLatestTimeMs;
}

constexpr auto kReadNumber = [](std::string_view text, auto& out) { return ReadNumber(text, out); };

// `access` picks the member out of a state, const or not; `read` checks the
// value's range where the type alone does not.
template <class Access, class Read = decltype(kReadNumber)>
Field NumberField(std::string_view key, Access access, Read read = kReadNumber) {
    return {key, [access](const SimTokenState& s) { return std::to_string(access(s)); },
            [access, read](std::string_view value, SimTokenState& s) { return read(value, access(s)); }};
}

template <class Access, class Read = decltype(kReadNumber)>
Field OptionalNumberField(std::string_view key, Access access, Read read = kReadNumber) {
    return {key,
            [access](const SimTokenState& s) { return access(s) ? std::to_string(*access(s)) : std::string(); },
            [access, read](std::string_view value, SimTokenState& s) {
                auto& field = access(s);
                if (value.empty()) {
                    field.reset();
                    return true;
                }
                field.emplace();
                return read(value, *field);
            }};
}

template <class Access>
Field FlagField(std::string_view key, Access access) {
    return {key, [access](const SimTokenState& s) { return std::string(access(s) ? "1" : "0"); },
            [access](std::string_view value, SimTokenState& s) {
                if (value != "0" && value != "1") return false;
                access(s) = value == "1";
                return true;
            }};
}

Field ProfileField(std::string_view key, std::size_t slot) {
    return {key,
            [slot](const SimTokenState& s) {
                const auto& profile = s.profiles[slot];
                return profile ? FormatHex(profile->bytes) : std::string();
            },
            [slot](std::string_view value, SimTokenState& s) {
                auto& profile = s.profiles[slot];
                if (value.empty()) {
                    profile.reset();
                    return true;
                }
                profile.emplace();
                return ReadHexExact(value, profile->bytes);
            }};
}

const std::vector<Field>& Fields() {
    static const std::vector<Field> fields = {
        {"serial", [](const SimTokenState& s) { return FormatSimSerial(s.serial); },
         [](std::string_view value, SimTokenState& s) {
             const auto serial = ParseSimSerial(value);
             if (serial) s.serial = *serial;
             return serial.has_value();
         }},
        {"firmware", [](const SimTokenState& s) { return FormatSimFirmware(s.firmware); },
         [](std::string_view value, SimTokenState& s) {
             const auto firmware = ParseSimFirmware(value);
             if (firmware) s.firmware = *firmware;
             return firmware.has_value();
         }},
        NumberField("sequence", [](auto& s) -> auto& { return s.sequence; }),
        ProfileField("profile1", 0),
        ProfileField("profile2", 1),
        OptionalNumberField("auto_touch_ms", [](auto& s) -> auto& { return s.autoTouchMs; }),
        NumberField("busy_gets", [](auto& s) -> auto& { return s.busyGets; }),
        {"frame", [](const SimTokenState& s) { return FormatHex(s.exchange.frame); },
         [](std::string_view value, SimTokenState& s) { return ReadHexExact(value, s.exchange.frame); }},
        NumberField("busy_left", [](auto& s) -> auto& { return s.exchange.busyGetsLeft; }),
        NumberField("busy_since_ms", [](auto& s) -> auto& { return s.exchange.busySinceMs; }, ReadTime),
        {"answer", [](const SimTokenState& s) { return FormatHex(s.exchange.answer); },
         [](std::string_view value, SimTokenState& s) {
             return ReadHex(value, s.exchange.answer) && s.exchange.answer.size() <= kMaxAnswerSize;
         }},
        NumberField("next_answer_chunk", [](auto& s) -> auto& { return s.exchange.nextAnswerChunk; }),
        FlagField("answer_stale", [](auto& s) -> auto& { return s.exchange.answerStale; }),
        OptionalNumberField("touch_wait_since_ms", [](auto& s) -> auto& { return s.exchange.touchWaitSinceMs; }, ReadTime),
        OptionalNumberField("fail_send_at_report", [](auto& s) -> auto& { return s.faults.failSendAtReport; }),
        OptionalNumberField("fail_get_at_report", [](auto& s) -> auto& { return s.faults.failGetAtReport; }),
        OptionalNumberField("vanish_after_reports", [](auto& s) -> auto& { return s.faults.vanishAfterReports; }),
        FlagField("stuck_busy", [](auto& s) -> auto& { return s.faults.stuckBusy; }),
        FlagField("bad_answer_checksum", [](auto& s) -> auto& { return s.faults.badAnswerChecksum; }),
        OptionalNumberField("stuck_busy_from_report", [](auto& s) -> auto& { return s.faults.stuckBusyFromReport; }),
        NumberField("reports_since_armed", [](auto& s) -> auto& { return s.reportsSinceArmed; }),
    };
    return fields;
}

constexpr std::string_view kRequiredKeys[] = {"serial", "firmware"};

std::string Quoted(std::string_view key) { return std::string("'").append(key).append("'"); }

std::string LineError(std::size_t line, std::string_view what) {
    return std::string("line ").append(std::to_string(line)).append(": ").append(what);
}

}  // namespace

std::string FormatSimState(const SimTokenState& state) {
    std::string text = "# Orvika2 simulated token; an empty value means none\n";
    for (const Field& field : Fields()) {
        text.append(field.key).append("=").append(field.write(state)).append("\n");
    }
    return text;
}

std::string ParseSimState(std::string_view text, SimTokenState& state) {
    state = SimTokenState{};
    std::vector<std::string_view> seen;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;

        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return LineError(lineNumber, "expected key=value");
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        const auto field = std::ranges::find(Fields(), key, &Field::key);
        if (field == Fields().end()) return LineError(lineNumber, "unknown key " + Quoted(key));
        if (std::ranges::find(seen, key) != seen.end()) {
            return LineError(lineNumber, Quoted(key) + " given twice");
        }
        seen.push_back(field->key);
        if (!field->read(value, state)) return LineError(lineNumber, "bad value for " + Quoted(key));
    }
    for (std::string_view key : kRequiredKeys) {
        if (std::ranges::find(seen, key) == seen.end()) return Quoted(key) + " is missing";
    }
    const auto& exchange = state.exchange;
    const std::size_t answerChunks = (exchange.answer.size() + 6) / 7;
    if (exchange.nextAnswerChunk > answerChunks) {
        return "'next_answer_chunk' lies beyond the answer";
    }
    return {};
}

std::optional<std::array<std::uint8_t, 4>> ParseSimSerial(std::string_view text) {
    std::array<std::uint8_t, 4> serial{};
    if (!ReadHexExact(text, serial)) return std::nullopt;
    return serial;
}

std::optional<std::array<std::uint8_t, 3>> ParseSimFirmware(std::string_view text) {
    std::array<std::uint8_t, 3> firmware{};
    for (std::size_t part = 0; part < firmware.size(); ++part) {
        const std::size_t dot = part + 1 < firmware.size() ? text.find('.') : text.size();
        if (dot == std::string_view::npos || !ReadNumber(text.substr(0, dot), firmware[part])) return std::nullopt;
        text.remove_prefix(std::min(text.size(), dot + 1));
    }
    return firmware;
}

std::string FormatSimSerial(const std::array<std::uint8_t, 4>& serial) { return FormatHex(serial); }

std::string FormatSimFirmware(const std::array<std::uint8_t, 3>& firmware) {
    return std::to_string(firmware[0]) + "." + std::to_string(firmware[1]) + "." + std::to_string(firmware[2]);
}

}  // namespace orvika2
