#pragma once
// A control whose changes a screen reader reads out by itself (a polite live
// region): the control's name, that is its text, when Announce() says so.
#include <windows.h>
#include <oleacc.h>

#include "platform/com_win32.h"

namespace orvika2 {

class LiveRegion {
public:
    explicit LiveRegion(HWND control);
    ~LiveRegion();
    LiveRegion(const LiveRegion&) = delete;
    LiveRegion& operator=(const LiveRegion&) = delete;

    void Announce() const;

private:
    ComInitialization com_;
    ComPtr<IAccPropServices> properties_;
    HWND control_;
};

}  // namespace orvika2
