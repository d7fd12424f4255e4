#pragma once
// The custom account name dialog of the profile page.
#include <windows.h>

#include <optional>
#include <string>

#include "ui/dialog_base_win32.h"

namespace orvika2 {

class newAccount final : public DialogBase {
public:
    newAccount();
    // The accepted name after IDOK.
    const std::wstring& AccountName() const { return accountName_; }

private:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnOk();

    std::wstring accountName_;
};

// Runs the dialog modally; the name when the user accepted one.
std::optional<std::wstring> AskAccountName(HWND owner);

}  // namespace orvika2
