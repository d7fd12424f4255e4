#include "dialogs/settings_window.h"

#include <algorithm>
#include <utility>

#include "dialogs/token_section.h"
#include "resources/resource.h"
#include "settings/config_file.h"
#include "settings/profile_mode.h"

namespace orvika2 {
namespace {

using enum SettingsPageKind;

// The profile pages share their labels except the static-password radio
// button, whose text names the press of its profile. A page's second Set
// button has a mnemonic of its own.
constexpr PageTextRow kProfileRows[] = {
    {Profile1, IDC_TWO_STEP_RADIO, IDS_SET_TWO_STEP},
    {Profile2, IDC_TWO_STEP_RADIO, IDS_SET_TWO_STEP},
    {Profile1, IDC_STATIC_RADIO, IDS_SET_STATIC_PASSWORD},
    {Profile2, IDC_STATIC_RADIO, IDS_SET_STATIC_PASSWORD_2},
    {Profile1, IDC_ACCOUNT_LABEL, IDS_SELECT_ACCOUNT_LABEL},
    {Profile2, IDC_ACCOUNT_LABEL, IDS_SELECT_ACCOUNT_LABEL},
    {Profile1, IDC_SECRET_KEY_LABEL, IDS_SECRET_KEY_LABEL},
    {Profile2, IDC_SECRET_KEY_LABEL, IDS_SECRET_KEY_LABEL},
    {Profile1, IDC_CODE_DIGITS_LABEL, IDS_DIGITS_LABEL},
    {Profile2, IDC_CODE_DIGITS_LABEL, IDS_DIGITS_LABEL},
    {Profile1, IDC_CODE_PERIOD_LABEL, IDS_PERIOD_LABEL},
    {Profile2, IDC_CODE_PERIOD_LABEL, IDS_PERIOD_LABEL},
    {Profile1, IDC_REQUIRE_TOUCH_CHECK, IDS_REQUIRE_TOUCH_LABEL},
    {Profile2, IDC_REQUIRE_TOUCH_CHECK, IDS_REQUIRE_TOUCH_LABEL},
    {Profile1, IDC_TWO_STEP_APPLY, IDS_APPLY},
    {Profile2, IDC_TWO_STEP_APPLY, IDS_APPLY},
    {Profile1, IDC_LENGTH_LABEL, IDS_PASSWORD_LENGTH_LABEL},
    {Profile2, IDC_LENGTH_LABEL, IDS_PASSWORD_LENGTH_LABEL},
    {Profile1, IDC_LETTERS_CHECK, IDS_LETTERS},
    {Profile2, IDC_LETTERS_CHECK, IDS_LETTERS},
    {Profile1, IDC_DIGITS_CHECK, IDS_DIGITS},
    {Profile2, IDC_DIGITS_CHECK, IDS_DIGITS},
    {Profile1, IDC_SPECIAL_CHECK, IDS_SPECIAL_CHARACTERS},
    {Profile2, IDC_SPECIAL_CHECK, IDS_SPECIAL_CHARACTERS},
    {Profile1, IDC_PASSWORD_LABEL, IDS_STATIC_PASSWORD_LABEL},
    {Profile2, IDC_PASSWORD_LABEL, IDS_STATIC_PASSWORD_LABEL},
    {Profile1, IDC_GENERATE_BUTTON, IDS_GENERATE},
    {Profile2, IDC_GENERATE_BUTTON, IDS_GENERATE},
    {Profile1, IDC_STATIC_APPLY, IDS_APPLY_SECOND},
    {Profile2, IDC_STATIC_APPLY, IDS_APPLY_SECOND},
    {Profile1, IDC_IMPORT_BUTTON, IDS_IMPORT_PROFILE},
    {Profile2, IDC_IMPORT_BUTTON, IDS_IMPORT_PROFILE},
    {Profile1, IDC_DELETE_BUTTON, IDS_DELETE_PROFILE},
    {Profile2, IDC_DELETE_BUTTON, IDS_DELETE_PROFILE},
    {Profile1, IDC_OTHERS_RADIO, IDS_OTHERS},
    {Profile2, IDC_OTHERS_RADIO, IDS_OTHERS},
    {AlreadySet, IDC_RESET_BUTTON, IDS_RESET},
};
constexpr PageTextRow kBasicRows[] = {
    {Basic, IDC_STARTUP_GROUP, IDS_INITIAL_SETTINGS},
    {Basic, IDC_HOTKEY_GROUP, IDS_HOTKEY_SETTINGS},
    {Basic, IDC_AUTOSTART_CHECK, IDS_AUTOSTART},
    {Basic, IDC_DESKTOP_CHECK, IDS_DESKTOP_SHORTCUT},
    {Basic, IDC_START_MENU_CHECK, IDS_START_MENU_SHORTCUT},
    {Basic, IDC_CODE_HOTKEY_LABEL, IDS_CODE_HOTKEY_LABEL},
    {Basic, IDC_SWITCH_HOTKEY_LABEL, IDS_SWITCH_HOTKEY_LABEL},
    {Basic, IDC_CODE_HOTKEY_APPLY, IDS_APPLY},
    {Basic, IDC_SWITCH_HOTKEY_APPLY, IDS_APPLY_SECOND},
    {Basic, IDC_RESTORE_DEFAULTS, IDS_RESTORE_DEFAULTS},
    {Basic, IDC_TYPING_METHOD_LABEL, IDS_TYPING_METHOD_LABEL},
    {Basic, IDC_CHECK_CLOCK, IDS_CHECK_CLOCK},
};

constexpr std::pair<int, int> kEnterButtons[] = {
    {IDC_SECRET_KEY_EDIT, IDC_TWO_STEP_APPLY},
    {IDC_CODE_PERIOD_EDIT, IDC_TWO_STEP_APPLY},
    {IDC_LENGTH_EDIT, IDC_GENERATE_BUTTON},
    {IDC_PASSWORD_EDIT, IDC_STATIC_APPLY},
};

std::wstring TabText(std::wstring_view name, std::wstring_view suffix) {
    return L"  " + std::wstring(name) + std::wstring(suffix) + L"  ";
}

}  // namespace

bool SettingsTokenPresent(TokenPorts ports) {
    CTokenLib token(ports);
    return token.Open() == TokenResult::Success;
}

std::vector<std::wstring> SettingsTabTexts(bool tokenPresent, LanguageId language) {
    const std::wstring& basic = UiString(IDS_BASIC_SETTINGS, language);
    if (!tokenPresent) return {TabText(basic, L"")};
    const std::wstring& profile = UiString(IDS_PROFILE, language);
    return {TabText(profile, L"1"), TabText(profile, L"2"), TabText(basic, L"")};
}

PageChoice PageForProfileEntry(int tab, std::wstring_view entry, LanguageId language, CodeShape shape) {
    switch (ClassifyProfileEntry(entry, EntryTestOrder::NotConfiguredFirst)) {
        case ProfileMode::NotConfigured: return {.slot = tab};
        case ProfileMode::StaticPassword:
            return {.slot = kAlreadySetSlot, .alreadySetLabel = UiString(IDS_SET_AS_STATIC, language)};
        case ProfileMode::TwoStep: break;
    }
    std::wstring label = UiString(IDS_SET_AS_TWO_STEP, language);
    std::wstring details(entry);
    if (const std::wstring shapeText = CodeShapeText(shape, language); !shapeText.empty()) {
        details += (details.empty() ? L"" : L", ") + shapeText;
    }
    if (!details.empty()) label += L"( " + details + L" )";
    return {.slot = kAlreadySetSlot, .alreadySetLabel = std::move(label)};
}

PageChoice ChoosePage(int selectedTab, bool withProfilePages, std::wstring& section, const AppServices& services) {
    const int message = UpdateSectionFromSerial(services.Token(), section);
    PageChoice choice{.slot = withProfilePages ? selectedTab : kProfile1Slot};
    if (withProfilePages && (selectedTab == kProfile1Slot || selectedTab == kProfile2Slot)) {
        // Before any serial was read there is no section to look in.
        const int profile = selectedTab + 1;
        const std::wstring entry =
            section.empty() ? std::wstring() : ReadProfileEntry(services.store, services.config.file, section, profile);
        const CodeShape shape =
            section.empty() ? CodeShape{} : ReadCodeShape(services.store, services.config.file, section, profile);
        choice = PageForProfileEntry(selectedTab, entry, services.language, shape);
    }
    choice.messageId = message;
    return choice;
}

std::wstring CodeShapeText(CodeShape shape, LanguageId language) {
    if (shape.IsDefault()) return {};
    return FillPlaceholder(FillPlaceholder(UiString(IDS_CODE_SHAPE, language), L"%1", std::to_wstring(shape.digits)),
                           L"%2", std::to_wstring(shape.periodSeconds));
}

RefreshAction SettingsRefreshAction(std::uintptr_t wParam) {
    switch (wParam) {
        case 0:
        case 1: return RefreshAction::ChoosePage;
        case 3: return RefreshAction::ShowSelectedTabPage;
        default: return RefreshAction::None;
    }
}

std::vector<PageTextRow> PageTextRows(bool withProfilePages) {
    std::vector<PageTextRow> rows;
    if (withProfilePages) rows.assign(std::begin(kProfileRows), std::end(kProfileRows));
    rows.insert(rows.end(), std::begin(kBasicRows), std::end(kBasicRows));
    return rows;
}

int EnterButtonFor(int focusedControlId) {
    for (const auto& [field, button] : kEnterButtons) {
        if (field == focusedControlId) return button;
    }
    return 0;
}

int SteppedTab(std::uintptr_t key, bool control, bool shift, int selected, int count) {
    if (!control || count <= 0) return -1;
    int step = 0;
    if (key == kTabKey) step = shift ? -1 : 1;
    if (key == kPageDownKey) step = 1;
    if (key == kPageUpKey) step = -1;
    if (step == 0) return -1;
    return ((selected + step) % count + count) % count;
}

}  // namespace orvika2
