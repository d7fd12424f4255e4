#include "platform/update_download_win32.h"

#include <windows.h>
#include <wininet.h>

#include <array>
#include <memory>

#include "platform/executable_path_win32.h"
#include "platform/win32_handles_win32.h"

namespace orvika2 {
namespace {

constexpr DWORD kConnectTimeoutMs = 2000;
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

void SetDwordOption(HINTERNET handle, DWORD option, DWORD value) {
    InternetSetOptionExW(handle, option, &value, sizeof(value), 0);
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

bool CopyBody(HINTERNET request, HANDLE file) {
    std::array<char, kReadChunk> buffer;
    while (true) {
        DWORD read = 0;
        if (!InternetReadFile(request, buffer.data(), kReadChunk, &read)) return false;
        if (read == 0) return true;
        DWORD written = 0;
        if (!WriteFile(file, buffer.data(), read, &written, nullptr) || written != read) return false;
    }
}

}  // namespace

bool DownloadToFile(const std::wstring& url, const std::wstring& localPath) {
    const InternetHandle session(InternetOpenW(AgentName().c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) return false;
    SetDwordOption(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs);
    SetDwordOption(session.get(), INTERNET_OPTION_CONNECT_RETRIES, kConnectRetries);

    UrlParts parts;
    if (!CrackUrl(url, parts)) return false;
    const InternetHandle connection(InternetConnectW(session.get(), parts.host.c_str(), parts.port, nullptr, nullptr,
                                                     INTERNET_SERVICE_HTTP, 0, kContext));
    if (!connection) return false;
    const InternetHandle request(HttpOpenRequestW(connection.get(), L"GET", parts.object.c_str(), nullptr, nullptr,
                                                  nullptr, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE,
                                                  kContext));
    if (!request || !HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0)) return false;

    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        status != HTTP_STATUS_OK) {
        return false;
    }
    const UniqueKernelHandle file = AdoptFileHandle(CreateFileW(localPath.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && CopyBody(request.get(), file.get());
}

std::wstring TemporaryFolder() {
    wchar_t folder[MAX_PATH] = {};
    const DWORD length = GetTempPathW(MAX_PATH, folder);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

}  // namespace orvika2
