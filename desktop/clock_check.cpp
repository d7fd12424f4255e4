#include "desktop/clock_check.h"

#include <array>
#include <cstdlib>

#include "platform/update_download.h"
#include "settings/clock_correction.h"

namespace orvika2 {
namespace {

constexpr std::array<std::wstring_view, 7> kDays{L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat", L"Sun"};
constexpr std::array<std::wstring_view, 12> kMonths{L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                                    L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};

// `count` digits at `at`, or -1.
int Digits(std::wstring_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < L'0' || text[i] > L'9') return -1;
        value = value * 10 + (text[i] - L'0');
    }
    return value;
}

template <std::size_t N>
int IndexOf(const std::array<std::wstring_view, N>& names, std::wstring_view name) {
    for (std::size_t i = 0; i < N; ++i) {
        if (names[i] == name) return static_cast<int>(i);
    }
    return -1;
}

bool LeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    constexpr int kDaysIn[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 1 && LeapYear(year) ? 29 : kDaysIn[month];
}

// Days from 1970-01-01 to the civil date (month 0-based), proleptic Gregorian.
std::int64_t DaysFromEpoch(int year, int month, int day) {
    const int y = month < 2 ? year - 1 : year;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yearOfEra = y - era * 400;
    const int shifted = (month + 10) % 12;  // March is 0
    const int dayOfYear = (153 * shifted + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;
}

// Halves away from zero, so +2.5 s and -2.5 s are 3 s either way.
std::int64_t RoundedSeconds(std::int64_t milliseconds) {
    return (milliseconds + (milliseconds < 0 ? -500 : 500)) / 1000;
}

}  // namespace

std::optional<std::int64_t> ParseHttpDate(std::wstring_view text) {
    // "Sun, 06 Nov 1994 08:49:37 GMT": every field has its fixed place.
    if (text.size() != 29 || text.substr(3, 2) != L", " || text[7] != L' ' || text[11] != L' ' ||
        text[16] != L' ' || text[19] != L':' || text[22] != L':' || text.substr(25) != L" GMT") {
        return std::nullopt;
    }
    const int weekday = IndexOf(kDays, text.substr(0, 3));
    const int month = IndexOf(kMonths, text.substr(8, 3));
    const int day = Digits(text, 5, 2);
    const int year = Digits(text, 12, 4);
    const int hour = Digits(text, 17, 2);
    const int minute = Digits(text, 20, 2);
    const int second = Digits(text, 23, 2);
    // 60 is a leap second, which the epoch count folds into the next one.
    if (weekday < 0 || month < 0 || year < 1970 || day < 1 || day > DaysInMonth(year, month) || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 60) {
        return std::nullopt;
    }
    const std::int64_t days = DaysFromEpoch(year, month, day);
    // 1970-01-01 was a Thursday; a weekday that disagrees is no date.
    if ((days + 3) % 7 != weekday) return std::nullopt;
    return days * 86400 + hour * 3600 + minute * 60 + second;
}

std::optional<std::int64_t> ClockOffsetMs(const ServerTimeAnswer& answer) {
    const auto server = ParseHttpDate(answer.date);
    if (!server || answer.answeredUnixMs < answer.sentUnixMs) return std::nullopt;
    // The server writes the second it answered in, cut down: its time was,
    // on average, half a second later. It answered, on average, halfway
    // through the round trip.
    const std::int64_t serverMs = *server * 1000 + 500;
    const std::int64_t middle = answer.sentUnixMs + (answer.answeredUnixMs - answer.sentUnixMs) / 2;
    return serverMs - middle;
}

ClockCheckOutcome JudgeClockOffset(std::optional<std::int64_t> offsetMs, std::int64_t correction) {
    if (!offsetMs) return {};
    const std::int64_t offset = *offsetMs;
    const std::int64_t seconds = RoundedSeconds(offset);
    if (std::llabs(offset) <= kClockRightMs) {
        return {correction != 0 ? ClockVerdict::Cleared : ClockVerdict::Right, seconds};
    }
    if (correction != 0 && std::llabs(offset - correction * 1000) <= kClockRightMs) {
        return {ClockVerdict::Holds, seconds};
    }
    if (std::llabs(offset) >= kClockOffMs) {
        if (std::llabs(seconds) > kMaxClockCorrectionSeconds) return {};
        return {ClockVerdict::Offer, seconds};
    }
    // Off by less than would be worth a correction, yet the one in use no
    // longer fits: the codes are closer to the server without it.
    return {correction != 0 ? ClockVerdict::Cleared : ClockVerdict::Right, seconds};
}

ClockCheckOutcome CheckClock(const ClockCheckInputs& inputs) {
    // A plain http answer could come from anyone on the way.
    if (WebAddressScheme(inputs.url) != WebScheme::Https) return {};
    const auto answer = inputs.ask(inputs.url);
    if (!answer) return {};
    const ClockCheckOutcome outcome =
        JudgeClockOffset(ClockOffsetMs(*answer), ReadClockCorrection(inputs.store, inputs.configFile));
    if (outcome.verdict == ClockVerdict::Cleared && !WriteClockCorrection(inputs.store, inputs.configFile, 0)) {
        return {};
    }
    return outcome;
}

bool AcceptClockOffer(ProfileStore& store, const std::wstring& file, const ClockCheckOutcome& outcome) {
    return outcome.verdict == ClockVerdict::Offer && WriteClockCorrection(store, file, outcome.offsetSeconds);
}

}  // namespace orvika2
