#include "platform/update_download.h"

#include <algorithm>

namespace orvika2 {
namespace {

wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c; }

// `lowerPrefix` in lower case.
bool StartsWithNoCase(std::wstring_view text, std::wstring_view lowerPrefix) {
    return text.size() >= lowerPrefix.size() &&
           std::equal(lowerPrefix.begin(), lowerPrefix.end(), text.begin(),
                      [](wchar_t prefix, wchar_t c) { return prefix == AsciiLower(c); });
}

bool BlankOrControl(wchar_t c) { return c <= L' ' || c == 0x7F; }

}  // namespace

WebScheme WebAddressScheme(std::wstring_view address) {
    if (std::any_of(address.begin(), address.end(), BlankOrControl)) return WebScheme::None;
    for (const auto& [prefix, scheme] : {std::pair{L"https://", WebScheme::Https}, {L"http://", WebScheme::Http}}) {
        const std::wstring_view start(prefix);
        if (!StartsWithNoCase(address, start)) continue;
        const std::wstring_view rest = address.substr(start.size());
        const std::wstring_view host = rest.substr(0, rest.find_first_of(L"/?#"));
        // "http:///x" names no host; the shell would treat it as a local path.
        return host.empty() || host.starts_with(L':') || host.starts_with(L'@') ? WebScheme::None : scheme;
    }
    return WebScheme::None;
}

bool IsWebAddress(std::wstring_view address) { return WebAddressScheme(address) != WebScheme::None; }

bool KeepsItsSecurity(std::wstring_view requested, std::wstring_view answeredBy) {
    const WebScheme answered = WebAddressScheme(answeredBy);
    return answered != WebScheme::None &&
           (WebAddressScheme(requested) != WebScheme::Https || answered == WebScheme::Https);
}

DownloadDeadline::DownloadDeadline(Clock& clock, std::uint32_t totalMs)
    : clock_(clock), start_(clock.TickMs()), totalMs_(totalMs) {}

std::uint32_t DownloadDeadline::TimeoutFor(std::uint32_t stepMs) const {
    // Unsigned difference: right across the tick's wrap.
    const std::uint32_t elapsed = clock_.TickMs() - start_;
    return elapsed >= totalMs_ ? 0 : std::min(stepMs, totalMs_ - elapsed);
}

bool DownloadBody::Append(const char* data, std::size_t size) {
    if (size > limit_ - bytes_.size()) return false;
    bytes_.append(data, size);
    return true;
}

}  // namespace orvika2
