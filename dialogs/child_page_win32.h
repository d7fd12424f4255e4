#pragma once
// A tab page: a modeless child dialog whose object outlives its window. The
// window is created at each opening of the settings window and destroyed
// with it.
#include <windows.h>

#include <string>

namespace orvika2 {

// A window's whole text.
std::wstring WindowText(HWND window);

class ChildPage {
public:
    explicit ChildPage(int templateId) : templateId_(templateId) {}
    virtual ~ChildPage();
    ChildPage(const ChildPage&) = delete;
    ChildPage& operator=(const ChildPage&) = delete;

    // Creates the window, hidden, as a child of `parent`; false on failure.
    bool Create(HWND parent);
    HWND hwnd() const { return window_; }

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnCommand(int /*control*/, int /*notification*/) {}
    HWND Item(int id) const { return GetDlgItem(window_, id); }
    bool IsChecked(int id) const { return IsDlgButtonChecked(window_, id) == BST_CHECKED; }
    void Check(int id, bool checked) const { CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED); }

private:
    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND window_ = nullptr;
};

}  // namespace orvika2
