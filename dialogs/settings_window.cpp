#include "dialogs/settings_window.h"

#include <algorithm>

#include "dialogs/token_section.h"
#include "settings/config_file.h"
#include "settings/profile_mode.h"

namespace orvika2 {
namespace {

constexpr int kProfileTabString = 26;
constexpr int kBasicTabString = 42;
constexpr int kSetAsTwoStepString = 40;
constexpr int kSetAsStaticString = 41;

using enum SettingsPageKind;

// The profile pages share their labels except the static-password radio
// button, whose text names the press of its profile.
constexpr PageTextRow kProfileRows[] = {
    {Profile1, 1065, 200}, {Profile2, 1065, 200}, {Profile1, 1072, 201}, {Profile2, 1072, 60},
    {Profile1, 1066, 202}, {Profile2, 1066, 202}, {Profile1, 1068, 203}, {Profile2, 1068, 203},
    {Profile1, 1070, 204}, {Profile2, 1070, 204}, {Profile1, 1071, 205}, {Profile2, 1071, 205},
    {Profile1, 1074, 206}, {Profile2, 1074, 206}, {Profile1, 1075, 207}, {Profile2, 1075, 207},
    {Profile1, 1076, 208}, {Profile2, 1076, 208}, {Profile1, 1077, 209}, {Profile2, 1077, 209},
    {Profile1, 1078, 210}, {Profile2, 1078, 210}, {Profile1, 1081, 211}, {Profile2, 1081, 211},
    {Profile1, 1082, 205}, {Profile2, 1082, 205}, {Profile1, 1083, 212}, {Profile2, 1083, 212},
    {Profile1, 1084, 213}, {Profile2, 1084, 213}, {Profile1, 1073, 233}, {Profile2, 1073, 233},
    {AlreadySet, kResetButton, 222},
};
constexpr PageTextRow kBasicRows[] = {
    {Basic, 1094, 214}, {Basic, 1092, 215}, {Basic, 1086, 216}, {Basic, 1087, 217}, {Basic, 1088, 218},
    {Basic, 1093, 219}, {Basic, 1095, 220}, {Basic, 1020, 205}, {Basic, 1021, 205}, {Basic, 1000, 221},
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
    const std::wstring& basic = UiString(kBasicTabString, language);
    if (!tokenPresent) return {TabText(basic, L"")};
    const std::wstring& profile = UiString(kProfileTabString, language);
    return {TabText(profile, L"1"), TabText(profile, L"2"), TabText(basic, L"")};
}

PageChoice PageForProfileEntry(int tab, std::wstring_view entry, LanguageId language) {
    switch (ClassifyProfileEntry(entry, EntryTestOrder::NotConfiguredFirst)) {
        case ProfileMode::NotConfigured: return {.slot = tab};
        case ProfileMode::StaticPassword:
            return {.slot = kAlreadySetSlot, .alreadySetLabel = UiString(kSetAsStaticString, language)};
        case ProfileMode::TwoStep: break;
    }
    std::wstring label = UiString(kSetAsTwoStepString, language);
    if (!entry.empty()) label += L"( " + std::wstring(entry) + L" )";
    return {.slot = kAlreadySetSlot, .alreadySetLabel = std::move(label)};
}

PageChoice ChoosePage(int selectedTab, bool withProfilePages, std::wstring& section, const AppServices& services) {
    const int message = UpdateSectionFromSerial(services.Token(), section);
    PageChoice choice{.slot = withProfilePages ? selectedTab : kProfile1Slot};
    if (withProfilePages && (selectedTab == kProfile1Slot || selectedTab == kProfile2Slot)) {
        // Before any serial was read there is no section to look in.
        const std::wstring entry =
            section.empty() ? std::wstring()
                            : ReadProfileEntry(services.store, services.config.file, section, selectedTab + 1);
        choice = PageForProfileEntry(selectedTab, entry, services.language);
    }
    choice.messageId = message;
    return choice;
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

int CheckAccountName(std::wstring_view name) {
    // A line break is refused with the spaces: in the configuration file it
    // would end the entry and start new sections and keys.
    if (name.find_first_of(L" \r\n") != std::wstring_view::npos) return kBalloonNameHasSpace;
    if (name.empty()) return kBalloonNameEmpty;
    if (name.size() > kAccountNameMax) return kBalloonNameTooLong;
    return 0;
}

}  // namespace orvika2
