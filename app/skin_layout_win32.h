#pragma once
// The main window and its two skinned buttons, drawn at the scale nearest to
// the window's DPI and placed in pixels from the skin.
#include <windows.h>

#include "desktop/skin_button_win32.h"
#include "platform/win32_handles_win32.h"

namespace orvika2 {

// The window's DPI; the screen's on systems that have no per-window DPI.
int WindowDpi(HWND window);

// Keeps the dialog manager from scaling the window's template (dialog units)
// over the skin's layout when the DPI changes.
void KeepSkinLayoutOnDpiChange(HWND dialog);

// Skins and places both buttons, sizes the window with its top-left corner
// at topLeft, and returns the window's skin bitmap for painting.
UniqueBitmap ApplySkinLayout(HWND window, CxSkinButton& codeButton, CxSkinButton& menuButton, int dpi,
                             POINT topLeft);

}  // namespace orvika2
