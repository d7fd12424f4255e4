#include "app/skin_layout_win32.h"

#include "desktop/skin_layout.h"

namespace orvika2 {
namespace {

void Place(HWND window, const PixelRect& rect) {
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.width, rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// A function of user32 that newer systems have, looked up so that older
// systems still start.
template <typename Function>
Function NewerUserFunction(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

int WindowDpi(HWND window) {
    // Windows 10 1607 and later.
    if (auto getDpi = NewerUserFunction<UINT(WINAPI*)(HWND)>("GetDpiForWindow")) {
        if (const UINT dpi = getDpi(window)) return static_cast<int>(dpi);
    }
    WindowDc screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : kDefaultDpi;
}

void KeepSkinLayoutOnDpiChange(HWND dialog) {
    // Windows 10 1703 and later; earlier systems do not scale dialogs.
    using SetBehaviourFn = BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    if (auto setBehaviour = NewerUserFunction<SetBehaviourFn>("SetDialogDpiChangeBehavior")) {
        setBehaviour(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    }
}

UniqueBitmap ApplySkinLayout(HWND window, CxSkinButton& codeButton, CxSkinButton& menuButton, int dpi,
                             POINT topLeft) {
    const SkinBitmaps& bitmaps = SkinBitmapsForDpi(dpi);
    const MainWindowLayout layout = LayoutMainWindow(bitmaps.percent);
    HINSTANCE module = GetModuleHandleW(nullptr);
    codeButton.SetSkin(module, bitmaps.codeNormal, bitmaps.codeDown, bitmaps.codeOver, bitmaps.codeDisabled,
                       bitmaps.codeMask);
    menuButton.SetSkin(module, bitmaps.menuNormal, bitmaps.menuDown, bitmaps.menuDown, bitmaps.menuNormal,
                       bitmaps.menuMask);
    Place(codeButton.hwnd(), layout.codeButton);
    Place(menuButton.hwnd(), layout.menuButton);
    SetWindowPos(window, nullptr, topLeft.x, topLeft.y, layout.window.width, layout.window.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, TRUE);
    return UniqueBitmap(static_cast<HBITMAP>(
        LoadImageW(module, MAKEINTRESOURCEW(bitmaps.windowSkin), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

}  // namespace orvika2
