#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/text.h"
#include "settings/app_environment.h"

namespace orvika2 {
namespace {

namespace fs = std::filesystem;

// Linux stand-in: application data under $XDG_CONFIG_HOME (or ~/.config),
// no autostart value.
class PosixAppEnvironment final : public AppEnvironment {
public:
    std::optional<std::wstring> AutostartValue() override { return std::nullopt; }
    std::wstring WorkingDirectory() override {
        std::error_code ec;
        return WideFromPath(fs::current_path(ec));
    }
    bool SetWorkingDirectory(const std::wstring& directory) override {
        std::error_code ec;
        fs::current_path(PathFromWide(directory), ec);
        return !ec;
    }
    std::wstring AppDataFolder() override {
        if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return WidenUtf8(xdg);
        const char* home = std::getenv("HOME");
        return WidenUtf8(std::string(home ? home : "") + "/.config");
    }
    bool IsDirectory(const std::wstring& path) override {
        std::error_code ec;
        return fs::is_directory(PathFromWide(path), ec);
    }
    bool CreateFolder(const std::wstring& path) override {
        std::error_code ec;
        return fs::create_directories(PathFromWide(path), ec);
    }
    bool FileExists(const std::wstring& path) override {
        std::error_code ec;
        return fs::exists(PathFromWide(path), ec);
    }
    bool CopyFileOver(const std::wstring& from, const std::wstring& to) override {
        std::error_code ec;
        return fs::copy_file(PathFromWide(from), PathFromWide(to), fs::copy_options::overwrite_existing, ec);
    }
    wchar_t PathSeparator() const override { return L'/'; }
};

}  // namespace

std::unique_ptr<AppEnvironment> MakePlatformAppEnvironment() { return std::make_unique<PosixAppEnvironment>(); }

}  // namespace orvika2
