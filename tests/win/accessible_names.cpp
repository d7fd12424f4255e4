#include "tests/win/accessible_names.h"

#include <commctrl.h>

#include <cwctype>
#include <map>

namespace orvika2 {
namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}
bool IsClass(HWND window, const wchar_t* name) { return _wcsicmp(ClassOf(window).c_str(), name) == 0; }

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// The text as read out: mnemonic marks gone, "&&" a plain ampersand.
std::wstring Spoken(const std::wstring& text) {
    std::wstring spoken;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        spoken += text[i];
    }
    return spoken.find_first_not_of(L" \t") == std::wstring::npos ? std::wstring() : spoken;
}

LONG StyleOf(HWND window) { return GetWindowLongW(window, GWL_STYLE); }
bool IsDialog(HWND window) { return IsClass(window, L"#32770"); }

bool IsGroupBox(HWND window) {
    return IsClass(window, WC_BUTTONW) && (StyleOf(window) & BS_TYPEMASK) == BS_GROUPBOX;
}
bool IsField(HWND window) {
    return IsClass(window, WC_EDITW) || IsClass(window, WC_COMBOBOXW) || IsClass(window, HOTKEY_CLASSW) ||
           IsClass(window, WC_LISTBOXW);
}
bool IsTextStatic(HWND window) {
    if (!IsClass(window, WC_STATICW)) return false;
    switch (StyleOf(window) & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
        case SS_SIMPLE:
        case SS_LEFTNOWORDWRAP: return true;
        default: return false;
    }
}
// The static a field takes its name from: the one right before it in
// template order, which is also the tab order.
HWND LabelOf(HWND field) {
    HWND previous = GetWindow(field, GW_HWNDPREV);
    return previous && IsTextStatic(previous) ? previous : nullptr;
}
bool LabelsAField(HWND control) {
    HWND next = GetWindow(control, GW_HWNDNEXT);
    return next && IsField(next) && IsTextStatic(control);
}

std::wstring Describe(HWND control) {
    return L"control " + std::to_wstring(GetDlgCtrlID(control)) + L" (" + ClassOf(control) + L" \"" + TextOf(control) +
           L"\")";
}

// The pages are the dialogs inside the window; each is judged on its own.
std::vector<HWND> DialogsIn(HWND window) {
    std::vector<HWND> dialogs{window};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM list) {
            if (IsDialog(child)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}
std::vector<HWND> ControlsOf(HWND dialog) {
    std::vector<HWND> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsDialog(child)) controls.push_back(child);
    }
    return controls;
}
std::wstring PagePrefix(std::size_t page) { return page == 0 ? L"" : L"page " + std::to_wstring(page) + L" "; }

// Why a control has no name; empty when it has one.
std::wstring Unnamed(HWND control) {
    if (IsClass(control, WC_BUTTONW)) {
        if (IsGroupBox(control) || !Spoken(TextOf(control)).empty()) return {};
        return L"a button without text";
    }
    if (IsField(control)) {
        HWND label = LabelOf(control);
        if (label && !Spoken(TextOf(label)).empty()) return {};
        return L"a field without a label right before it";
    }
    if (IsClass(control, WC_STATICW)) {
        switch (StyleOf(control) & SS_TYPEMASK) {
            case SS_ICON: return L"an icon static, whose name Windows does not report";
            case SS_BITMAP:
            case SS_ENHMETAFILE: {
                // A template leaves the picture's resource number as the text.
                const std::wstring text = TextOf(control);
                return text.empty() || text[0] == 0xFFFF ? L"an image without a name" : L"";
            }
            default: return {};
        }
    }
    if (IsClass(control, WC_TABCONTROLW)) {
        const auto count = static_cast<int>(SendMessageW(control, TCM_GETITEMCOUNT, 0, 0));
        for (int item = 0; item < count; ++item) {
            wchar_t text[128] = {};
            TCITEMW tab{};
            tab.mask = TCIF_TEXT;
            tab.pszText = text;
            tab.cchTextMax = 128;
            SendMessageW(control, TCM_GETITEMW, item, reinterpret_cast<LPARAM>(&tab));
            if (Spoken(text).empty()) return L"tab " + std::to_wstring(item) + L" without text";
        }
        return {};
    }
    return L"a kind of control these rules do not know";
}

bool NeedsMnemonic(HWND control) {
    if (IsClass(control, WC_BUTTONW)) {
        const int id = GetDlgCtrlID(control);
        return !IsGroupBox(control) && id != IDOK && id != IDCANCEL;
    }
    return LabelsAField(control);
}
bool IsPushButton(HWND control) {
    const LONG type = StyleOf(control) & BS_TYPEMASK;
    return IsClass(control, WC_BUTTONW) && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

}  // namespace

wchar_t MnemonicOf(const std::wstring& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] != L'&') return static_cast<wchar_t>(std::towupper(text[i + 1]));
        ++i;
    }
    return 0;
}

NamingWalk WalkNames(HWND window) {
    NamingWalk walk;
    const std::vector<HWND> dialogs = DialogsIn(window);
    for (std::size_t page = 0; page < dialogs.size(); ++page) {
        for (HWND control : ControlsOf(dialogs[page])) {
            ++walk.controls;
            if (const std::wstring why = Unnamed(control); !why.empty()) {
                walk.offenders.push_back(PagePrefix(page) + Describe(control) + L": " + why);
            }
        }
    }
    return walk;
}

std::vector<std::wstring> UnnamedControls(HWND window) { return WalkNames(window).offenders; }

std::vector<std::wstring> MnemonicFaults(HWND window) {
    std::vector<std::wstring> faults;
    const std::vector<HWND> dialogs = DialogsIn(window);
    for (std::size_t page = 0; page < dialogs.size(); ++page) {
        std::map<wchar_t, HWND> taken;
        int pushButtons = 0;
        int defaults = 0;
        for (HWND control : ControlsOf(dialogs[page])) {
            const bool prefixed = IsClass(control, WC_BUTTONW) || (IsTextStatic(control) && !(StyleOf(control) & SS_NOPREFIX));
            const wchar_t mnemonic = prefixed ? MnemonicOf(TextOf(control)) : 0;
            if (mnemonic == 0 && NeedsMnemonic(control)) {
                faults.push_back(PagePrefix(page) + Describe(control) + L": no mnemonic");
            }
            if (mnemonic != 0 && !taken.emplace(mnemonic, control).second) {
                faults.push_back(PagePrefix(page) + Describe(control) + L": mnemonic " + std::wstring(1, mnemonic) +
                                 L" also used by " + Describe(taken[mnemonic]));
            }
            if (IsPushButton(control)) {
                ++pushButtons;
                if ((StyleOf(control) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) ++defaults;
            }
        }
        if (page == 0 && !(StyleOf(window) & WS_CHILD) && pushButtons > 0 && defaults != 1) {
            faults.push_back(std::to_wstring(defaults) + L" default buttons among " + std::to_wstring(pushButtons));
        }
    }
    return faults;
}

}  // namespace orvika2
