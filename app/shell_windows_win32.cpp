#include "app/shell_windows_win32.h"

#include <memory>

#include "desktop/balloon_win32.h"
#include "desktop/update_check_win32.h"
#include "dialogs/settings_window_win32.h"
#include "platform/hid.h"
#include "platform/startup_services_win32.h"
#include "platform/token_bus_select.h"
#include "settings/app_environment.h"
#include "settings/config_file.h"

namespace orvika2 {
namespace {

// Stands in for a token selection that cannot be used: no token is present.
class NoTokenBus final : public HidBus {
public:
    std::optional<std::vector<std::wstring>> ListInterfaces() override { return std::vector<std::wstring>{}; }
    std::optional<HidIdentity> ReadIdentity(const std::wstring&) override { return std::nullopt; }
    std::unique_ptr<HidDevice> Open(const std::wstring&) override { return nullptr; }
};

}  // namespace

void RunSettingsWindow(HWND mainWindow) {
    SelectedTokenBus selected = SelectTokenBusFromEnvironment();
    std::unique_ptr<HidBus> bus = selected.bus ? std::move(selected.bus) : std::make_unique<NoTokenBus>();
    const auto environment = MakePlatformAppEnvironment();
    const auto store = MakePlatformProfileStore();
    const auto startup = MakeWin32StartupServices();
    SettingsServices services{TokenPorts{*bus, SystemClock()}, *store, LocateConfigurationFile(*environment).file,
                              *startup};
    // Not owned by the main window: an owned window of a top-most window is
    // top-most too, and would stay in front of the help pages it opens in the
    // browser. The main window is disabled meanwhile, as an owner would be, so
    // the menu cannot open a second one.
    EnableWindow(mainWindow, FALSE);
    RunSettingDlg(nullptr, services);
    EnableWindow(mainWindow, TRUE);
    CloseBalloonMsg();
}

void RunUpdateCheck(HWND mainWindow) { CheckForUpdate(mainWindow); }

}  // namespace orvika2
