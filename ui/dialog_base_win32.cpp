#include "ui/dialog_base_win32.h"

#include <vector>

namespace orvika2 {

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    // The length may overstate; shrinking keeps the buffer, so no copy.
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

void ClearSecretText(HWND edit) {
    const int length = GetWindowTextLengthW(edit);
    if (length > 0) SetWindowTextW(edit, std::wstring(static_cast<std::size_t>(length), L' ').c_str());
    SetWindowTextW(edit, L"");
    SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
}

DialogBase::~DialogBase() {
    if (window_ && IsWindow(window_)) {
        // The derived object is gone: no message may reach its handlers.
        SetWindowLongPtrW(window_, DWLP_USER, 0);
        DestroyWindow(window_);
    }
}

INT_PTR DialogBase::DoModal(HWND owner) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner, &DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

bool DialogBase::Create(HWND parent) {
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent, &DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

bool DialogBase::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(LOWORD(wParam));
        result = 0;
        return true;
    }
    return false;
}

INT_PTR CALLBACK DialogBase::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogBase*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        self->window_ = window;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!self) return FALSE;
    const INT_PTR handled = self->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) self->window_ = nullptr;
    return handled;
}

INT_PTR DialogBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM && wParam != 0) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (SendMessageW(item->hwndItem, kReflectedDrawItem, wParam, lParam)) return TRUE;
    }
    LRESULT result = 0;
    if (!OnMessage(message, wParam, lParam, result)) return FALSE;
    switch (message) {
        // These return their result directly rather than through DWLP_MSGRESULT.
        case WM_QUERYDRAGICON:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return static_cast<INT_PTR>(result);
        default:
            SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
            return TRUE;
    }
}

}  // namespace orvika2
