#include "platform/startup_services_win32.h"

#include "platform/autostart_win32.h"
#include "platform/shortcuts_win32.h"

namespace orvika2 {
namespace {

class Win32StartupServices final : public StartupServices {
public:
    bool QueryAutostart() override { return orvika2::QueryAutostart(); }
    bool SetAutostart(bool enabled) override { return orvika2::SetAutostart(enabled); }
    std::wstring DesktopFolder() override { return orvika2::DesktopFolder(); }
    std::wstring StartMenuFolder() override { return StartMenuProgramsFolder(); }
    bool ShortcutExists(const std::wstring& linkPath) override { return orvika2::ShortcutExists(linkPath); }
    bool CreateShortcut(const std::wstring& linkPath) override { return orvika2::CreateShortcut(linkPath); }
    bool RemoveShortcut(const std::wstring& linkPath) override { return orvika2::RemoveShortcut(linkPath); }
};

}  // namespace

std::unique_ptr<StartupServices> MakeWin32StartupServices() { return std::make_unique<Win32StartupServices>(); }

}  // namespace orvika2
