#include "dialogs/child_page_win32.h"

namespace orvika2 {

bool ChildPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // Hidden by the tab's choice (lParam 0), not by its window's minimising.
    if ((message == WM_SHOWWINDOW && !wParam && lParam == 0) || message == WM_DESTROY) OnLeave();
    if (message != WM_COMMAND) return false;
    // Enter and Escape never end a page.
    if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) OnCommand(LOWORD(wParam), HIWORD(wParam));
    result = 0;
    return true;
}

}  // namespace orvika2
