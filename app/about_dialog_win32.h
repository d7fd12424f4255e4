#pragma once
#include "ui/dialog_base_win32.h"

namespace orvika2 {

// The about box: the icon, the version line and a fixed note.
class CAboutDlg final : public DialogBase {
public:
    CAboutDlg();

private:
    BOOL OnInitDialog() override;
};

}  // namespace orvika2
