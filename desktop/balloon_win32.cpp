#include "desktop/balloon_win32.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <utility>

#include "desktop/balloon.h"
#include "platform/registry_win32.h"
#include "platform/win32_handles_win32.h"

namespace orvika2 {
namespace {

constexpr wchar_t kHostClass[] = L"XBalloonMsg";
constexpr UINT_PTR kToolId = 10001;

// Process-wide by nature: there is one balloon per application, and the
// hooks and the replaced owner procedure have no other place to find it.
struct BalloonState {
    HWND owner = nullptr;
    HWND anchor = nullptr;
    HINSTANCE instance = nullptr;
    BalloonIcon icon = BalloonIcon::None;
    bool balloonShape = false;
    bool balloonTipsAllowed = true;
    std::wstring title;
    std::wstring text;
    HWND host = nullptr;
    HWND tooltip = nullptr;
    WNDPROC savedOwnerProc = nullptr;
    UniqueHook keyboardHook;
    UniqueHook mouseHook;
    bool created = false;
    bool ownerFrameRedraw = false;
};

BalloonState& Balloon() {
    static BalloonState state;
    return state;
}

LRESULT CALLBACK BalloonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

std::optional<std::uint32_t> ReadEnableBalloonTips() {
    return RegistryKey::Open(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
                             KEY_QUERY_VALUE)
        .ReadDword(L"EnableBalloonTips");
}

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK self = Balloon().keyboardHook.get();
    const bool keyDown = (static_cast<DWORD>(lParam) & 0x80000000u) == 0;
    switch (ClassifyBalloonKey(code, static_cast<std::uint32_t>(wParam), keyDown)) {
        case BalloonKey::CloseSwallow:
            CloseBalloonMsg();
            return 1;
        case BalloonKey::PassOnAndClose: {
            const LRESULT result = CallNextHookEx(self, code, wParam, lParam);
            CloseBalloonMsg();
            return result;
        }
        case BalloonKey::PassOn: break;
    }
    return CallNextHookEx(self, code, wParam, lParam);
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallNextHookEx(Balloon().mouseHook.get(), code, wParam, lParam);
    if (MouseMessageClosesBalloon(code, static_cast<std::uint32_t>(wParam))) CloseBalloonMsg();
    return result;
}

void SetUpTooltip() {
    BalloonState& state = Balloon();
    state.balloonTipsAllowed = BalloonTipsAllowed(ReadEnableBalloonTips());
    const BalloonLook look = BalloonLookFor(state.balloonTipsAllowed, state.balloonShape);
    state.tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, look.tooltipStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, state.owner, nullptr, state.instance, nullptr);
    if (!state.tooltip) return;
    if (!state.savedOwnerProc && IsWindow(state.owner)) {
        state.savedOwnerProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(state.owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BalloonWindowProc)));
    }
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = look.toolFlags;
    tool.hwnd = state.owner;
    tool.uId = kToolId;
    tool.hinst = state.instance;
    tool.lpszText = state.text.data();
    SendMessageW(state.tooltip, TTM_SETMAXTIPWIDTH, 0, 32000);
    SendMessageW(state.tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, 1);
    SendMessageW(state.tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, 1);
    SendMessageW(state.tooltip, TTM_SETDELAYTIME, TTDT_RESHOW, 1);
    SendMessageW(state.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(state.tooltip, TTM_SETTITLEW, static_cast<WPARAM>(state.icon),
                 reinterpret_cast<LPARAM>(state.title.c_str()));
    RECT anchor{};
    if (!IsWindow(state.anchor) || !GetWindowRect(state.anchor, &anchor)) anchor = {};
    const AnchorPoint point = BalloonTrackPoint(anchor.left, anchor.top, anchor.right, anchor.bottom, look.pointAtCentre);
    SendMessageW(state.tooltip, TTM_TRACKPOSITION, 0, static_cast<LPARAM>(PackTrackPosition(point)));
    SendMessageW(state.tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    const DWORD thread = GetCurrentThreadId();
    if (!state.keyboardHook) state.keyboardHook.reset(SetWindowsHookExW(WH_KEYBOARD, &KeyboardHook, nullptr, thread));
    if (!state.mouseHook) state.mouseHook.reset(SetWindowsHookExW(WH_MOUSE, &MouseHook, nullptr, thread));
    state.created = true;
}

void OnHostDestroyed() {
    BalloonState& state = Balloon();
    state.keyboardHook.reset();
    state.mouseHook.reset();
    if (!IsWindow(state.owner)) return;
    UpdateWindow(state.owner);
    if (state.ownerFrameRedraw) {
        SetWindowPos(state.owner, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
}

// A WM_KILLFOCUS that hands the focus to the owner or one of its controls.
bool FocusStaysIn(HWND owner, UINT message, WPARAM wParam) {
    const auto next = reinterpret_cast<HWND>(wParam);
    return message == WM_KILLFOCUS && next && (next == owner || IsChild(owner, next));
}

LRESULT CALLBACK BalloonWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    BalloonState& state = Balloon();
    // Captured first: a message that closes the balloon still reaches the
    // owner's own procedure.
    const WNDPROC ownerProc = window == state.owner ? state.savedOwnerProc : nullptr;
    const auto passOn = [&] {
        return ownerProc ? CallWindowProcW(ownerProc, window, message, wParam, lParam)
                         : DefWindowProcW(window, message, wParam, lParam);
    };
    switch (message) {
        case WM_WINDOWPOSCHANGED:
            if (!state.created && !state.tooltip) SetUpTooltip();
            return 0;
        case WM_ACTIVATE:
            state.ownerFrameRedraw = lParam != 0;
            [[fallthrough]];
        case WM_KILLFOCUS:
        case WM_MOUSEACTIVATE:
        case WM_SYSCOMMAND:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_ENTERMENULOOP:
            if (WindowMessageClosesBalloon(message, wParam, FocusStaysIn(state.owner, message, wParam)) &&
                state.created && state.host && state.tooltip) {
                CloseBalloonMsg();
            }
            return passOn();
        case WM_DESTROY:
            if (ownerProc) {
                CloseBalloonMsg();
            } else {
                OnHostDestroyed();
            }
            return passOn();
        default:
            return passOn();
    }
}

}  // namespace

void ShowBalloonMsg(std::wstring_view title, std::wstring_view text, HWND anchor, HWND owner, HINSTANCE instance,
                    BalloonIcon icon, bool balloonShape) {
    if (text.empty() || !anchor || !owner || !IsWindow(anchor) || !IsWindow(owner)) return;
    CloseBalloonMsg();
    BalloonState& state = Balloon();
    state.owner = owner;
    state.anchor = anchor;
    state.instance = instance;
    state.icon = icon;
    state.balloonShape = balloonShape;
    state.title = CutBalloonText(title, kBalloonTitleMax);
    state.text = CutBalloonText(text, kBalloonTextMax);
    state.created = false;
    state.ownerFrameRedraw = false;

    WNDCLASSW hostClass{};
    hostClass.style = CS_DBLCLKS;
    hostClass.lpfnWndProc = &BalloonWindowProc;
    hostClass.hInstance = instance;
    hostClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    hostClass.lpszClassName = kHostClass;
    if (!RegisterClassW(&hostClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
    // Shown at once, so its first WM_WINDOWPOSCHANGED sets up the tooltip;
    // shown without activation, so the focus stays in the field the user
    // types into, or in the application the user works in.
    state.host = CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kHostClass, L"", WS_POPUP, 30000, 30000, 10, 10,
                                 owner, nullptr, instance, nullptr);
    if (state.host) ShowWindow(state.host, SW_SHOWNOACTIVATE);
}

void CloseBalloonMsg() {
    BalloonState& state = Balloon();
    if (state.savedOwnerProc) {
        if (IsWindow(state.owner)) {
            SetWindowLongPtrW(state.owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state.savedOwnerProc));
        }
        state.savedOwnerProc = nullptr;
    }
    if (state.tooltip) {
        if (IsWindow(state.tooltip)) {
            SendMessageW(state.tooltip, TTM_POP, 0, 0);
            PostMessageW(state.tooltip, WM_CLOSE, 0, 0);
        }
        state.tooltip = nullptr;
    }
    HWND host = std::exchange(state.host, nullptr);
    if (host && IsWindow(host)) {
        DestroyWindow(host);  // its WM_DESTROY removes the hooks
    } else {
        state.keyboardHook.reset();
        state.mouseHook.reset();
    }
    state.created = false;
}

HWND BalloonTooltipWindow() { return Balloon().tooltip; }
HWND BalloonHostWindow() { return Balloon().host; }

}  // namespace orvika2
