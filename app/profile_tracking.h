#pragma once
// The profile state that the main window shows lives in its popup menu and
// its code button; the tracking that asks the token about it talks to the
// window only through MainWindowPort.
#include <memory>
#include <string>

#include "app/floating_window.h"
#include "settings/profile_store.h"
#include "token/token_lib.h"

namespace orvika2 {

// What the main window offers: its popup menu's profile items (by command),
// its code button, its notices and the first-use prompt.
class MainWindowPort {
public:
    enum class Anchor { CodeButton, MenuButton };

    virtual ~MainWindowPort() = default;
    // GetMenuState by command: 8 checked and enabled, 0 usable, 3 grayed and
    // disabled (ProfileItemEnableBits).
    virtual unsigned MenuItemState(int command) = 0;
    virtual void CheckMenuItem(int command, bool checked) = 0;
    virtual void EnableMenuItem(int command, bool enabled) = 0;
    virtual void SetMenuItemText(int command, const std::wstring& text) = 0;
    // Menu 148 afresh from the resources: check marks, enabled states and
    // texts return to the template's.
    virtual void ReloadMenu() = 0;
    virtual bool CodeButtonEnabled() = 0;
    virtual void EnableCodeButton(bool enabled) = 0;
    virtual void SetCodeButtonTip(const std::wstring& text) = 0;
    // A balloon with the information icon, owned by the main window.
    virtual void ShowNotice(Anchor anchor, const std::wstring& title, const std::wstring& text) = 0;
    // No owner, empty caption, in the interface language.
    virtual void ShowMessageBox(const std::wstring& text, unsigned flags) = 0;
    // A top-level window carries the settings window's title.
    virtual bool SettingsWindowOpen() = 0;
    // The settings command: hotkeys released, the settings window, hotkeys
    // registered again, presence check.
    virtual void RunSettingsCommand() = 0;
};

// What the tracking reads and writes besides the window.
struct TrackingContext {
    TokenPorts token;
    ProfileStore& store;
    std::wstring configFile;
    StringSource strings;
    LanguageId language = kLangEnglish;
};

// What the main window asks of the profile tracking, on its initialisation,
// timers, refresh message and commands.
class ProfileTracking {
public:
    virtual ~ProfileTracking() = default;
    virtual void RefreshProfiles() = 0;
    virtual void SelectProfile(int profile) = 0;
    virtual void ActivateProfile(int profile) = 0;
    virtual void UpdateMenuLabels() = 0;
    virtual void CheckTokenPresence() = 0;
    virtual void PromptFirstUse() = 0;
    virtual void HandleTokenArrival() = 0;
    virtual void HandleTokenRemoval() = 0;
    // The token section of the configuration file whose entries label the
    // profile items; empty before a token's serial was read.
    virtual std::wstring TokenSection() const = 0;
};

inline constexpr unsigned kFirstUsePromptFlags = 0x40040;  // OK, information, top-most

// The tracking the main window runs with, asking the token each time.
std::unique_ptr<ProfileTracking> MakeProfileTracking(MainWindowPort& window, TrackingContext context);

}  // namespace orvika2
