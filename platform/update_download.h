#pragma once
// What the download of the update description may fetch, follow and keep,
// decided apart from WinINet so it can be checked everywhere. A slow or
// hostile server may neither hold the window nor fill the disk.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace orvika2 {

// The description file is a few lines; anything longer is not one.
inline constexpr std::size_t kMaxDownloadBytes = 64 * 1024;
// The whole download, from opening the session to the last byte.
inline constexpr std::uint32_t kDownloadDeadlineMs = 10'000;
inline constexpr std::uint32_t kConnectTimeoutMs = 2000;

enum class WebScheme { None, Http, Https };
// The scheme of an absolute "http://host..." or "https://host..." address
// (scheme in any case, a host, no blanks or control characters); None for
// anything else: relative names, file:, javascript:, other schemes.
WebScheme WebAddressScheme(std::wstring_view address);
// The only addresses that are fetched or handed to the shell to open.
bool IsWebAddress(std::wstring_view address);
// A download begun over https must end over https: a redirect to plain http
// would let anyone on the way answer.
bool KeepsItsSecurity(std::wstring_view requested, std::wstring_view answeredBy);

// One answer of a server asked for its time: its Date header and this
// computer's wall time, in milliseconds since the epoch, when the request
// went and when the answer came.
struct ServerTimeAnswer {
    std::wstring date;
    std::int64_t sentUnixMs = 0;
    std::int64_t answeredUnixMs = 0;
};

// The time left of a download's deadline, handed to each blocking step as
// its time-out.
class DownloadDeadline {
public:
    DownloadDeadline(Clock& clock, std::uint32_t totalMs);
    // The step's own time-out cut to what is left; 0 once the deadline has
    // passed (WinINet would read 0 as no time-out at all).
    std::uint32_t TimeoutFor(std::uint32_t stepMs) const;

private:
    Clock& clock_;
    std::uint32_t start_;
    std::uint32_t totalMs_;
};

// The body as it arrives, refused as a whole once it grows past the limit.
class DownloadBody {
public:
    explicit DownloadBody(std::size_t limit = kMaxDownloadBytes) : limit_(limit) {}
    // False, keeping nothing more, when the piece would pass the limit.
    bool Append(const char* data, std::size_t size);
    const std::string& bytes() const { return bytes_; }

private:
    std::size_t limit_;
    std::string bytes_;
};

}  // namespace orvika2
