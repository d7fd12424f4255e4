#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "settings/app_environment.h"

namespace orvika2 {
namespace {

constexpr DWORD kMaxPathChars = 260;

class RegistryKey {
public:
    RegistryKey(HKEY root, const wchar_t* subkey) {
        if (RegOpenKeyExW(root, subkey, 0, KEY_QUERY_VALUE, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~RegistryKey() {
        if (key_) RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

class Win32AppEnvironment final : public AppEnvironment {
public:
    std::optional<std::wstring> AutostartValue() override {
        RegistryKey run(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
        if (!run.get()) return std::nullopt;
        wchar_t data[kMaxPathChars + 1] = {};
        DWORD size = kMaxPathChars * sizeof(wchar_t);
        DWORD type = 0;
        if (RegQueryValueExW(run.get(), L"Orvika2", nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
                ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ)) {
            return std::nullopt;
        }
        // The stored data need not end in a NUL.
        return std::wstring(data, wcsnlen(data, size / sizeof(wchar_t)));
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
    bool CreateDirectory(const std::wstring& path) override { return CreateDirectoryW(path.c_str(), nullptr) != FALSE; }
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
