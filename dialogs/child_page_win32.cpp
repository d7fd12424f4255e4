#include "dialogs/child_page_win32.h"

namespace orvika2 {

bool ChildPage::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message != WM_COMMAND) return false;
    // Enter and Escape never end a page.
    if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) OnCommand(LOWORD(wParam), HIWORD(wParam));
    result = 0;
    return true;
}

}  // namespace orvika2
