#pragma once
// The profile state that the main window shows lives in its popup menu and
// its code button; the tracking that asks the token about it talks to the
// window only through MainWindowPort.
#include <string>

#include "app/floating_window.h"
#include "resources/string_ids.h"
#include "settings/app_services.h"
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
    // What a screen reader says for the code button (its window text).
    virtual void SetCodeButtonName(const std::wstring& name) = 0;
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

// What the main window asks of the profile tracking, on its initialisation,
// timers, refresh message and commands. It reads and writes the token and
// the configuration file through the services.
class ProfileTracking {
public:
    ProfileTracking(MainWindowPort& window, AppServices& services) : window_(window), services_(services) {}

    void RefreshProfiles();
    void SelectProfile(int profile);
    void ActivateProfile(int profile);
    void UpdateMenuLabels();
    void CheckTokenPresence();
    void PromptFirstUse();
    void HandleTokenArrival();
    void HandleTokenRemoval();
    // The token section of the configuration file whose entries label the
    // profile items; empty before a token's serial was read.
    std::wstring TokenSection() const { return section_; }

private:
    std::wstring String(int id) const { return services_.strings(id); }
    std::wstring Label(int profile) const { return String(IDS_PROFILE) + std::to_wstring(profile); }
    std::wstring Entry(int profile) const;
    void WriteEntry(int profile, std::wstring_view entry);
    void Reminder(MainWindowPort::Anchor anchor, int textId);
    // Notices and the code button's tip, with a line that names the
    // simulated token's file when one stands in for the USB token.
    void Notice(MainWindowPort::Anchor anchor, const std::wstring& title, const std::wstring& text);
    void Tip(const std::wstring& text);
    std::wstring SimulatedTokenLine() const;
    void DisableEverything();
    // Opens the token; true when several are present, which is then shown
    // and leaves nothing usable.
    bool OpenRefusingSeveral(CTokenLib& token);
    void RefreshProfile(CTokenLib& token, const TokenStatus& status, int profile);


    MainWindowPort& window_;
    AppServices& services_;
    std::wstring section_;
};

inline constexpr unsigned kFirstUsePromptFlags = 0x40040;  // OK, information, top-most

}  // namespace orvika2
