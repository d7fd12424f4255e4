#include "platform/update_download_win32.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <array>
#include <memory>
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

}  // namespace

bool DownloadToFile(const std::wstring& url, const std::wstring& localPath) {
    const WebScheme scheme = WebAddressScheme(url);
    UrlParts parts;
    if (scheme == WebScheme::None || !CrackUrl(url, parts)) return false;
    const DownloadDeadline deadline(SystemClock(), kDownloadDeadlineMs);

    const InternetHandle session(InternetOpenW(AgentName().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session || !LimitNextSteps(session.get(), deadline)) return false;
    SetDwordOption(session.get(), INTERNET_OPTION_CONNECT_RETRIES, kConnectRetries);
    const InternetHandle connection(InternetConnectW(session.get(), parts.host.c_str(), parts.port, nullptr, nullptr,
                                                     INTERNET_SERVICE_HTTP, 0, kContext));
    if (!connection) return false;
    // https is TLS with the certificate checked: no flag here waives a check.
    const DWORD secure = scheme == WebScheme::Https ? INTERNET_FLAG_SECURE : 0;
    const InternetHandle request(HttpOpenRequestW(connection.get(), L"GET", parts.object.c_str(), nullptr, nullptr,
                                                  nullptr, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | secure,
                                                  kContext));
    if (!request || !LimitNextSteps(request.get(), deadline) ||
        !HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0) ||
        !KeepsItsSecurity(url, AnsweringUrl(request.get()))) {
        return false;
    }

    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        status != HTTP_STATUS_OK) {
        return false;
    }
    // The body is held until it is complete: a refused one leaves no file.
    DownloadBody body;
    return ReadBody(request.get(), deadline, body) && WriteWhole(localPath, body.bytes());
}

std::wstring TemporaryFolder() {
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

}  // namespace orvika2
