#pragma once
// The start-up options as the system keeps them: the per-user autostart
// entry and the desktop and Start-menu shortcuts. Nothing of them is stored
// by the application, so they are read again whenever they are shown.
#include <string>
#include <string_view>

namespace orvika2 {

// The link file in `folder`: "<folder>\Orvika2.lnk".
std::wstring ShortcutFile(std::wstring_view folder);

class StartupServices {
public:
    virtual ~StartupServices() = default;
    virtual bool QueryAutostart() = 0;
    virtual bool SetAutostart(bool enabled) = 0;
    virtual std::wstring DesktopFolder() = 0;
    virtual std::wstring StartMenuFolder() = 0;
    virtual bool ShortcutExists(const std::wstring& linkPath) = 0;
    virtual bool CreateShortcut(const std::wstring& linkPath) = 0;
    virtual bool RemoveShortcut(const std::wstring& linkPath) = 0;
};

}  // namespace orvika2
