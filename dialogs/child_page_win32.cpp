#include "dialogs/child_page_win32.h"

#include <vector>

namespace orvika2 {

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    return std::wstring(text.data());
}

ChildPage::~ChildPage() {
    if (window_ && IsWindow(window_)) {
        SetWindowLongPtrW(window_, DWLP_USER, 0);
        DestroyWindow(window_);
    }
}

bool ChildPage::Create(HWND parent) {
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent, &PageProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR CALLBACK ChildPage::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* page = reinterpret_cast<ChildPage*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        page->window_ = window;
        return page->OnInitDialog();
    }
    auto* page = reinterpret_cast<ChildPage*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!page) return FALSE;
    switch (message) {
        case WM_COMMAND:
            // Enter and Escape never end a page.
            if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) page->OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NCDESTROY:
            page->window_ = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace orvika2
