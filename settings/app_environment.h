#pragma once
// The folders, working directory and autostart value that the configuration
// file's placement depends on.
#include <memory>
#include <optional>
#include <string>

namespace orvika2 {

class AppEnvironment {
public:
    virtual ~AppEnvironment() = default;
    // Data of the per-user autostart value "Orvika2"; nullopt when it is
    // missing or longer than 260 characters.
    virtual std::optional<std::wstring> AutostartValue() = 0;
    virtual std::wstring WorkingDirectory() = 0;
    virtual bool SetWorkingDirectory(const std::wstring& directory) = 0;
    // The user's roaming application-data folder, without a trailing separator.
    virtual std::wstring AppDataFolder() = 0;
    virtual bool IsDirectory(const std::wstring& path) = 0;
    virtual bool CreateFolder(const std::wstring& path) = 0;
    virtual bool FileExists(const std::wstring& path) = 0;
    virtual bool CopyFileOver(const std::wstring& from, const std::wstring& to) = 0;
    virtual wchar_t PathSeparator() const = 0;
};

// Windows: the registry, SHGetSpecialFolderPathW and the file functions.
// Linux: $XDG_CONFIG_HOME (or ~/.config) as application data, no autostart.
std::unique_ptr<AppEnvironment> MakePlatformAppEnvironment();

}  // namespace orvika2
