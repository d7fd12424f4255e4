#pragma once
// A light dialog class: a template id, a modal run or a modeless window, and
// virtual handlers. The object lives at least as long as its window.
#include <windows.h>

#include <string>

namespace orvika2 {

class DialogBase {
public:
    explicit DialogBase(int templateId) : templateId_(templateId) {}
    // A modeless window still open goes with its object.
    virtual ~DialogBase();
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    INT_PTR DoModal(HWND owner = nullptr);
    // Creates the window modeless under `parent`; false on failure.
    bool Create(HWND parent);
    HWND hwnd() const { return window_; }

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    // True when the message was handled; `result` is then its result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void EndDialog(INT_PTR result) { ::EndDialog(window_, result); }
    HWND Item(int id) const { return GetDlgItem(window_, id); }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND window_ = nullptr;
};

// WM_DRAWITEM as the parent reflects it to an owner-drawn control.
inline constexpr UINT kReflectedDrawItem = 0x2000 + WM_DRAWITEM;

// A window's whole text, read straight into the string returned: no other
// copy is made, so a caller that keeps it in a wiping string leaves none.
std::wstring WindowText(HWND window);

// Empties an edit box that held a secret, its undo copy too. The text is
// first overwritten in place, so a buffer the control reuses keeps nothing.
void ClearSecretText(HWND edit);

}  // namespace orvika2
