#pragma once
// The already-set page: how a profile is configured, and Reset.
#include "dialogs/child_page_win32.h"
#include "platform/win32_handles_win32.h"

namespace orvika2 {

class ShowSettingInfo final : public ChildPage {
public:
    ShowSettingInfo();

private:
    BOOL OnInitDialog() override;
    void OnCommand(int control, int notification) override;

    UniqueHandle<HFONT, GdiObjectTraits> font_;
};

}  // namespace orvika2
