#include "dialogs/settings_window_win32.h"

#include <commctrl.h>

#include "platform/win32_handles_win32.h"
#include "resources/resource.h"
#include "ui/ui_language_win32.h"
#include "ui/ui_message_win32.h"
#include "ui/window_messages.h"

namespace orvika2 {
namespace {

// Margins of the page rectangle inside the tab control's client area, in
// pixels at 100 %.
constexpr int kPageMarginSide = 8;
constexpr int kPageMarginTop = 25;

// The window whose Ctrl+Tab the filter takes. The hook has no context of
// its own; one settings window is open at most.
HWND& FilteredWindow() {
    static HWND window = nullptr;
    return window;
}

// IsDialogMessage asks this hook first, and would take Ctrl+Tab for a plain
// Tab: in the settings window it switches the page instead, as a click on
// the tab does. Enter and Esc go on to the dialog manager.
LRESULT CALLBACK KeyFilter(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    HWND root = FilteredWindow();
    if (code == MSGF_DIALOGBOX && message && root && message->message == WM_KEYDOWN &&
        (message->hwnd == root || IsChild(root, message->hwnd))) {
        HWND tab = GetDlgItem(root, IDC_SETTINGS_TAB);
        const int next = SteppedTab(message->wParam, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                                    TabCtrl_GetCurSel(tab), TabCtrl_GetItemCount(tab));
        if (next >= 0) {
            TabCtrl_SetCurSel(tab, next);
            NMHDR change{tab, IDC_SETTINGS_TAB, static_cast<UINT>(TCN_SELCHANGE)};
            SendMessageW(root, WM_NOTIFY, IDC_SETTINGS_TAB, reinterpret_cast<LPARAM>(&change));
            SetFocus(tab);
            return TRUE;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

SettingsPages& SharedSettingsPages() {
    static SettingsPages pages;
    return pages;
}

SettingDlg::SettingDlg(AppServices& services, StartupServices& startup, SettingsPages& pages)
    : DialogBase(IDD_SETTINGS), services_(services), startup_(startup), pages_(pages) {}

BOOL SettingDlg::OnInitDialog() {
    FilteredWindow() = hwnd();
    SetWindowTextW(hwnd(), LoadUiString(IDS_SETTINGS_CAPTION).c_str());
    HWND tab = Item(IDC_SETTINGS_TAB);
    RECT page{};
    GetClientRect(tab, &page);
    // The tabs grow with the scale of the dialog's font: so do the margins.
    const int dpi = GetDeviceCaps(WindowDc(hwnd()).get(), LOGPIXELSY);
    const int side = MulDiv(kPageMarginSide, dpi, USER_DEFAULT_SCREEN_DPI);
    page.left += side;
    page.top += MulDiv(kPageMarginTop, dpi, USER_DEFAULT_SCREEN_DPI);
    page.right -= side;
    page.bottom -= side;

    withProfilePages_ = SettingsTokenPresent(services_.Token());
    const auto texts = SettingsTabTexts(withProfilePages_, UiLanguageId());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        std::wstring text = texts[i];
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(tab, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }

    pages_.profile1.Attach(services_);
    pages_.profile2.Attach(services_);
    pages_.basic.Attach(services_, startup_);
    if (withProfilePages_) {
        slots_ = {&pages_.profile1, &pages_.profile2, &pages_.basic, &pages_.alreadySet};
    } else {
        slots_ = {&pages_.basic, nullptr, nullptr, nullptr};
    }
    for (ChildPage* slot : slots_) {
        if (!slot) continue;
        slot->Create(tab);
        SetWindowPos(slot->hwnd(), nullptr, page.left, page.top, page.right - page.left, page.bottom - page.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ApplyPageTexts();
    currentSlot_ = kProfile1Slot;
    ShowSlot(currentSlot_, true);
    if (withProfilePages_) RunChoosePage();
    return TRUE;
}

bool SettingDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom != IDC_SETTINGS_TAB || header->code != TCN_SELCHANGE) return false;
            RunChoosePage();
            return true;
        }
        case WM_SETTINGS_REFRESH:
            switch (SettingsRefreshAction(wParam)) {
                case RefreshAction::ChoosePage: RunChoosePage(); break;
                case RefreshAction::ShowSelectedTabPage: ShowSelectedTabPage(); break;
                case RefreshAction::None: break;
            }
            return true;
        case WM_COMMAND:
            // Only the dialog manager sends commands here: Esc as IDCANCEL,
            // Enter as IDOK or as the focused push button's id.
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(IDCANCEL);
            } else {
                OnEnter();
            }
            return true;
        case WM_CLOSE:
            EndDialog(IDCANCEL);
            return true;
        case WM_DESTROY:
            FilteredWindow() = nullptr;
            return false;
        default:
            return false;
    }
}

void SettingDlg::OnEnter() {
    HWND focus = GetFocus();
    if (!focus || !IsChild(hwnd(), focus) || GetParent(focus) == hwnd()) return;
    HWND page = GetParent(focus);
    // A field presses its group's button; a push button, itself, which the
    // dialog manager sent here rather than to its page.
    const int button = EnterButtonFor(GetDlgCtrlID(focus));
    const bool pushButton = SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
    HWND target = button != 0 ? GetDlgItem(page, button) : pushButton ? focus : nullptr;
    if (target && IsWindowEnabled(target)) {
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(target), BN_CLICKED), reinterpret_cast<LPARAM>(target));
    }
}

HWND SettingDlg::PageWindow(SettingsPageKind kind) const {
    switch (kind) {
        case SettingsPageKind::Profile1: return pages_.profile1.hwnd();
        case SettingsPageKind::Profile2: return pages_.profile2.hwnd();
        case SettingsPageKind::Basic: return pages_.basic.hwnd();
        case SettingsPageKind::AlreadySet: return pages_.alreadySet.hwnd();
    }
    return nullptr;
}

void SettingDlg::ApplyPageTexts() {
    for (const PageTextRow& row : PageTextRows(withProfilePages_)) {
        if (HWND page = PageWindow(row.page)) SetDlgItemTextW(page, row.controlId, LoadUiString(row.stringId).c_str());
    }
}

int SettingDlg::SelectedTab() const {
    return static_cast<int>(SendDlgItemMessageW(hwnd(), IDC_SETTINGS_TAB, TCM_GETCURSEL, 0, 0));
}

void SettingDlg::ShowSlot(int slot, bool shown) {
    if (slot < 0 || slot >= static_cast<int>(slots_.size()) || !slots_[slot]) return;
    ShowWindow(slots_[slot]->hwnd(), shown ? SW_SHOW : SW_HIDE);
}

void SettingDlg::RunChoosePage() {
    ShowSlot(currentSlot_, false);
    const PageChoice choice = ChoosePage(SelectedTab(), withProfilePages_, pages_.section, services_);
    if (choice.messageId != 0) ShowUiMessage(choice.messageId, kMessageWarning);
    currentSlot_ = choice.slot;
    if (currentSlot_ == kAlreadySetSlot) {
        SetDlgItemTextW(pages_.alreadySet.hwnd(), IDC_ALREADY_SET_LABEL, choice.alreadySetLabel.c_str());
    }
    ShowSlot(currentSlot_, true);
}

void SettingDlg::ShowSelectedTabPage() {
    ShowSlot(currentSlot_, false);
    currentSlot_ = SelectedTab();
    ShowSlot(currentSlot_, true);
}

void RunSettingDlg(HWND owner, AppServices& services, StartupServices& startup) {
    UniqueHook filter(SetWindowsHookExW(WH_MSGFILTER, &KeyFilter, nullptr, GetCurrentThreadId()));
    SettingDlg window(services, startup, SharedSettingsPages());
    window.DoModal(owner);
}

}  // namespace orvika2
