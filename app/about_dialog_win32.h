#pragma once
#include "ui/dialog_base_win32.h"

namespace orvika2 {

// The about box: the icon, the version line and a fixed note. The icon is
// painted, not a control: it is decoration, and an icon static would be an
// image without a name to a screen reader.
class CAboutDlg final : public DialogBase {
public:
    CAboutDlg();

private:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

}  // namespace orvika2
