#include "platform/update_download_win32.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/executable_path_win32.h"
#include "platform/update_download.h"
#include "platform/win32_handles_win32.h"

namespace orvika2 {
namespace {

constexpr DWORD kConnectRetries = 1;
constexpr DWORD kReadChunk = 10240;
constexpr DWORD_PTR kContext = 1;

struct InternetCloser {
    void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

// The program file's name without folder and extension: "Orvika2".
std::wstring AgentName() {
    std::wstring name = ExecutablePath().value_or(L"Orvika2");
    const std::size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    const std::size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name;
}

bool SetDwordOption(HINTERNET handle, DWORD option, DWORD value) {
    return InternetSetOptionExW(handle, option, &value, sizeof(value), 0) != FALSE;
}

// Every blocking step waits at most what is left of the deadline; once it
// has passed the download ends.
bool LimitNextSteps(HINTERNET handle, const DownloadDeadline& deadline) {
    const DWORD connect = deadline.TimeoutFor(kConnectTimeoutMs);
    const DWORD transfer = deadline.TimeoutFor(kDownloadDeadlineMs);
    return connect > 0 && transfer > 0 && SetDwordOption(handle, INTERNET_OPTION_CONNECT_TIMEOUT, connect) &&
           SetDwordOption(handle, INTERNET_OPTION_SEND_TIMEOUT, transfer) &&
           SetDwordOption(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, transfer);
}

struct UrlParts {
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring object;
};

bool CrackUrl(const std::wstring& url, UrlParts& parts) {
    URL_COMPONENTSW components{};
    components.dwStructSize = sizeof(components);
    // Non-zero lengths without buffers: the parts are pointed at in `url`.
    components.dwHostNameLength = 1;
    components.dwUrlPathLength = 1;
    components.dwExtraInfoLength = 1;
    if (!InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &components) || !components.lpszHostName) {
        return false;
    }
    parts.host.assign(components.lpszHostName, components.dwHostNameLength);
    parts.port = components.nPort;
    if (components.lpszUrlPath) parts.object.assign(components.lpszUrlPath, components.dwUrlPathLength);
    if (components.lpszExtraInfo) parts.object.append(components.lpszExtraInfo, components.dwExtraInfoLength);
    return true;
}

// The address that answered, after any redirects WinINet followed.
std::wstring AnsweringUrl(HINTERNET request) {
    DWORD bytes = 0;
    InternetQueryOptionW(request, INTERNET_OPTION_URL, nullptr, &bytes);
    std::vector<wchar_t> url(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(url.size() * sizeof(wchar_t));
    if (!InternetQueryOptionW(request, INTERNET_OPTION_URL, url.data(), &bytes)) return {};
    return std::wstring(url.data());
}

// Only what has arrived is read, so a body sent a byte at a time still
// meets the deadline between reads; a read for a full piece would wait for
// the piece.
bool ReadBody(HINTERNET request, const DownloadDeadline& deadline, DownloadBody& body) {
    std::array<char, kReadChunk> buffer;
    while (true) {
        DWORD available = 0;
        if (!LimitNextSteps(request, deadline) || !InternetQueryDataAvailable(request, &available, 0, 0)) return false;
        DWORD read = 0;
        if (!InternetReadFile(request, buffer.data(), std::min<DWORD>(available, kReadChunk), &read) ||
            !body.Append(buffer.data(), read)) {
            return false;
        }
        if (read == 0) return true;
    }
}

bool WriteWhole(const std::wstring& localPath, const std::string& bytes) {
    const UniqueKernelHandle file = AdoptFileHandle(CreateFileW(localPath.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE,
                                                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// This computer's wall time in milliseconds since the epoch.
std::int64_t WallUnixMs() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks = (std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    constexpr std::uint64_t kEpochTicks = 116444736000000000ULL;  // 1601 to 1970 in 100 ns
    return static_cast<std::int64_t>((ticks - kEpochTicks) / 10000);
}

// A revocation check that could not be made (its list out of reach, as
// behind many proxies) is soft-failed as browsers do: sent once more with
// only that check waived. A certificate found revoked, untrusted, expired
// or for another name is refused all the same.
bool SendRequest(HINTERNET request, std::int64_t& sentUnixMs) {
    sentUnixMs = WallUnixMs();
    if (HttpSendRequestW(request, nullptr, 0, nullptr, 0)) return true;
    if (GetLastError() != ERROR_INTERNET_SEC_CERT_REV_FAILED) return false;
    DWORD flags = 0;
    DWORD size = sizeof(flags);
    if (!InternetQueryOptionW(request, INTERNET_OPTION_SECURITY_FLAGS, &flags, &size) ||
        !SetDwordOption(request, INTERNET_OPTION_SECURITY_FLAGS, flags | SECURITY_FLAG_IGNORE_REVOCATION)) {
        SetLastError(ERROR_INTERNET_SEC_CERT_REV_FAILED);
        return false;
    }
    sentUnixMs = WallUnixMs();
    return HttpSendRequestW(request, nullptr, 0, nullptr, 0) != FALSE;
}

// A GET of `url` sent and answered, its headers read; the handles close
// together, the request first.
struct WebRequest {
    InternetHandle session;
    InternetHandle connection;
    InternetHandle request;
    std::int64_t sentUnixMs = 0;
    std::int64_t answeredUnixMs = 0;
};

std::optional<WebRequest> Get(const std::wstring& url, const DownloadDeadline& deadline, DWORD flags) {
    const WebScheme scheme = WebAddressScheme(url);
    UrlParts parts;
    if (scheme == WebScheme::None || !CrackUrl(url, parts)) return std::nullopt;
    WebRequest web;
    web.session.reset(InternetOpenW(AgentName().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!web.session || !LimitNextSteps(web.session.get(), deadline)) return std::nullopt;
    SetDwordOption(web.session.get(), INTERNET_OPTION_CONNECT_RETRIES, kConnectRetries);
    web.connection.reset(InternetConnectW(web.session.get(), parts.host.c_str(), parts.port, nullptr, nullptr,
                                          INTERNET_SERVICE_HTTP, 0, kContext));
    if (!web.connection) return std::nullopt;
    // https is TLS with the certificate checked: no flag here waives a check.
    const DWORD secure = scheme == WebScheme::Https ? INTERNET_FLAG_SECURE : 0;
    web.request.reset(HttpOpenRequestW(web.connection.get(), L"GET", parts.object.c_str(), nullptr, nullptr, nullptr,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | secure | flags,
                                       kContext));
    if (!web.request || !LimitNextSteps(web.request.get(), deadline) ||
        !SendRequest(web.request.get(), web.sentUnixMs)) {
        return std::nullopt;
    }
    web.answeredUnixMs = WallUnixMs();
    if (!KeepsItsSecurity(url, AnsweringUrl(web.request.get()))) return std::nullopt;
    return web;
}

}  // namespace

bool DownloadToFile(const std::wstring& url, const std::wstring& localPath) {
    const DownloadDeadline deadline(SystemClock(), kDownloadDeadlineMs);
    const auto web = Get(url, deadline, 0);
    if (!web) return false;
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoW(web->request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                        nullptr) ||
        status != HTTP_STATUS_OK) {
        return false;
    }
    // The body is held until it is complete: a refused one leaves no file.
    DownloadBody body;
    return ReadBody(web->request.get(), deadline, body) && WriteWhole(localPath, body.bytes());
}

std::optional<ServerTimeAnswer> AskServerTime(const std::wstring& url) {
    if (WebAddressScheme(url) != WebScheme::Https) return std::nullopt;
    const DownloadDeadline deadline(SystemClock(), kDownloadDeadlineMs);
    // The configured server's own answer, whatever its status: a redirect
    // would hand the question to a server nobody configured.
    const auto web = Get(url, deadline, INTERNET_FLAG_NO_AUTO_REDIRECT);
    if (!web) return std::nullopt;
    std::array<wchar_t, 64> date{};
    DWORD bytes = static_cast<DWORD>(sizeof(date) - sizeof(wchar_t));
    if (!HttpQueryInfoW(web->request.get(), HTTP_QUERY_DATE, date.data(), &bytes, nullptr)) return std::nullopt;
    return ServerTimeAnswer{std::wstring(date.data(), bytes / sizeof(wchar_t)), web->sentUnixMs,
                            web->answeredUnixMs};
}

std::wstring TemporaryFolder() {
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

}  // namespace orvika2
