#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "platform/autostart_win32.h"
#include "platform/registry_win32.h"
#include "settings/app_environment.h"

namespace orvika2 {
namespace {

constexpr DWORD kMaxPathChars = 260;

class Win32AppEnvironment final : public AppEnvironment {
public:
    std::optional<std::wstring> AutostartValue() override {
        const auto run = RegistryKey::Open(HKEY_CURRENT_USER, std::wstring(kRunKeyPath), KEY_QUERY_VALUE);
        if (!run) return std::nullopt;
        auto data = run.ReadString(std::wstring(kAutostartValueName));
        // Longer data does not fit the buffer the path is read into.
        if (data && data->size() >= kMaxPathChars) return std::nullopt;
        return data;
    }
    std::wstring WorkingDirectory() override {
        wchar_t buffer[kMaxPathChars] = {};
        const DWORD length = GetCurrentDirectoryW(kMaxPathChars, buffer);
        return length > 0 && length < kMaxPathChars ? std::wstring(buffer, length) : std::wstring();
    }
    bool SetWorkingDirectory(const std::wstring& directory) override {
        return SetCurrentDirectoryW(directory.c_str()) != FALSE;
    }
    std::wstring AppDataFolder() override {
        wchar_t buffer[MAX_PATH] = {};
        return SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_APPDATA, FALSE) ? std::wstring(buffer) : std::wstring();
    }
    bool IsDirectory(const std::wstring& path) override { return PathIsDirectoryW(path.c_str()) != FALSE; }
    bool CreateFolder(const std::wstring& path) override { return CreateDirectoryW(path.c_str(), nullptr) != FALSE; }
    bool FileExists(const std::wstring& path) override {
        return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    bool CopyFileOver(const std::wstring& from, const std::wstring& to) override {
        return CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
    }
    wchar_t PathSeparator() const override { return L'\\'; }
};

}  // namespace

std::unique_ptr<AppEnvironment> MakePlatformAppEnvironment() { return std::make_unique<Win32AppEnvironment>(); }

}  // namespace orvika2
