#pragma once
// The settings window's decisions: its tabs, which page a tab shows, the
// labels of its pages, and the check of the account-name dialog. The window
// itself only carries them out.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "resources/resource.h"
#include "settings/app_services.h"
#include "token/token_lib.h"
#include "token/verification_code.h"
#include "ui/ui_strings.h"

namespace orvika2 {

// Slots of the page table. With the token present the tab index and the
// slot coincide for slots 0 to 2; without it slot 0 holds the basic page.
inline constexpr int kProfile1Slot = 0;
inline constexpr int kProfile2Slot = 1;
inline constexpr int kBasicSlot = 2;
inline constexpr int kAlreadySetSlot = 3;

// The token counts as present at opening only when exactly one is listed and
// it opens; the session is closed again before this returns.
bool SettingsTokenPresent(TokenPorts ports);

// The tab items, in order: both profiles and the basic settings with the
// token, the basic settings alone without it.
std::vector<std::wstring> SettingsTabTexts(bool tokenPresent, LanguageId language);

struct PageChoice {
    int slot = 0;
    // The text of control 1091, set when the slot is the already-set page.
    std::wstring alreadySetLabel;
    // Message 3 when the serial could not be read; shown, then the page.
    int messageId = 0;
};

// The slot and label for a profile tab (0 or 1) whose configuration entry
// reads `entry`: substring tests, "NotConfigured" before "StaticPassword".
// A 2-Step Verification profile whose codes are not the usual 6 digits of
// 30 s shows their shape beside the account name ("8 digits, 60 s").
PageChoice PageForProfileEntry(int tab, std::wstring_view entry, LanguageId language, CodeShape shape = {});
std::wstring CodeShapeText(CodeShape shape, LanguageId language);

// On a tab change and on the refresh with wParam 0 or 1. Always reads the
// serial into `section` (kept on failure, message 3); reads the profile's
// entry only for a profile tab. Without profile pages the only page is the
// basic one in slot 0, which never gives way to the already-set page.
PageChoice ChoosePage(int selectedTab, bool withProfilePages, std::wstring& section, const AppServices& services);

enum class RefreshAction {
    None,
    ChoosePage,
    // Hide the current page and show the page of the selected tab's slot:
    // the profile page again after Reset.
    ShowSelectedTabPage,
};
RefreshAction SettingsRefreshAction(std::uintptr_t wParam);

enum class SettingsPageKind { Profile1, Profile2, Basic, AlreadySet };
struct PageTextRow {
    SettingsPageKind page;
    int controlId;
    int stringId;
};
// Every label the window overwrites from the string table; without profile
// pages only those of the basic settings page.
std::vector<PageTextRow> PageTextRows(bool withProfilePages);

// Enter in a profile page's field presses the button of the field's group:
// Set for the secret key and the period, Generate for the password length
// (Set there would write whatever the password box holds), Set for the
// static password. 0 for any other control.
int EnterButtonFor(int focusedControlId);

// The keys that switch the tab control's page, as property sheets have them.
inline constexpr std::uintptr_t kTabKey = 0x09;       // VK_TAB
inline constexpr std::uintptr_t kPageUpKey = 0x21;    // VK_PRIOR
inline constexpr std::uintptr_t kPageDownKey = 0x22;  // VK_NEXT
// Ctrl+Tab and Ctrl+Page Down select the next of `count` tabs, Ctrl+Shift+Tab
// and Ctrl+Page Up the previous one, round; -1 for any other key.
int SteppedTab(std::uintptr_t key, bool control, bool shift, int selected, int count);

}  // namespace orvika2
