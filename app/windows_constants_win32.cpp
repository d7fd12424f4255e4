// The Windows values that the portable files of app/ restate, held to
// <windows.h> here so that a wrong copy cannot build.
#include <windows.h>

#include <dbt.h>
#include <shellapi.h>

#include "app/code_button.h"
#include "app/floating_window.h"
#include "app/profile_tracking.h"
#include "app/typing.h"
#include "app/wait_dialog.h"

namespace orvika2 {

static_assert(kDeviceArrival == DBT_DEVICEARRIVAL);
static_assert(kDeviceRemoveComplete == DBT_DEVICEREMOVECOMPLETE);
static_assert(kMouseLeftDown == WM_LBUTTONDOWN);
static_assert(kMouseRightUp == WM_RBUTTONUP);
static_assert(kContextMenu == WM_CONTEXTMENU);
static_assert(kTraySelect == NIN_SELECT);
static_assert(kTrayKeySelect == NIN_KEYSELECT);
static_assert(kTrayShellVersion == NOTIFYICON_VERSION);
static_assert(kDialogOk == IDOK && kDialogCancel == IDCANCEL);
static_assert(kCodeMessageFlags == (MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST));
static_assert(kClipboardOfferFlags == (MB_YESNO | MB_TOPMOST));
static_assert(kFirstUsePromptFlags == (MB_OK | MB_ICONINFORMATION | MB_TOPMOST));
static_assert(kMediumIntegrity == SECURITY_MANDATORY_MEDIUM_RID);
static_assert(WM_COUNTDOWN_TICK == WM_USER + 1000);
static_assert(WM_STEP_ASIDE == WM_USER + 1001);
static_assert(kKeyDown == WM_KEYDOWN);
static_assert(kEnterKey == VK_RETURN);
static_assert(kEscapeKey == VK_ESCAPE);

}  // namespace orvika2
