#pragma once
// The one balloon message of the application: a tracking tooltip with a
// title and an icon, pointing at a control, closed by the next key press or
// click in the application.
#include <windows.h>

#include <string_view>

namespace orvika2 {

enum class BalloonIcon : UINT { None = 0, Info = 1, Warning = 2, Error = 3 };

// Closes the current balloon first. Nothing happens for an empty text or
// when the anchor or the owner is not a window.
void ShowBalloonMsg(std::wstring_view title, std::wstring_view text, HWND anchor, HWND owner, HINSTANCE instance,
                    BalloonIcon icon, bool balloonShape);
void CloseBalloonMsg();

// For tests: the balloon's tooltip and host window, null when none is up.
HWND BalloonTooltipWindow();
HWND BalloonHostWindow();

}  // namespace orvika2
