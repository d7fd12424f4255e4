#pragma once
// A tab page: a modeless child dialog whose object outlives its window. The
// window is created at each opening of the settings window and destroyed
// with it.
#include <windows.h>

#include "ui/dialog_base_win32.h"

namespace orvika2 {

class ChildPage : public DialogBase {
public:
    using DialogBase::DialogBase;

protected:
    virtual void OnCommand(int /*control*/, int /*notification*/) {}
    // The page is hidden for another one, or goes with its window.
    virtual void OnLeave() {}
    bool IsChecked(int id) const { return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED; }
    void Check(int id, bool checked) const { CheckDlgButton(hwnd(), id, checked ? BST_CHECKED : BST_UNCHECKED); }

private:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace orvika2
