#include <initguid.h>

#include "ui/live_region_win32.h"

namespace orvika2 {
namespace {

// UI Automation's LiveSetting property and its value Polite.
constexpr GUID kLiveSettingProperty = {0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr int kPolite = 1;

}  // namespace

LiveRegion::LiveRegion(HWND control)
    : properties_(CreateComObject<IAccPropServices>(CLSID_AccPropServices, IID_IAccPropServices)),
      control_(control) {
    if (!properties_) return;
    VARIANT polite{};
    polite.vt = VT_I4;
    polite.lVal = kPolite;
    if (FAILED(properties_->SetHwndProp(control_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                        kLiveSettingProperty, polite))) {
        properties_.reset();
    }
}

LiveRegion::~LiveRegion() {
    if (!properties_) return;
    MSAAPROPID property = kLiveSettingProperty;
    properties_->ClearHwndProps(control_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &property, 1);
}

void LiveRegion::Announce() const {
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, control_, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace orvika2
