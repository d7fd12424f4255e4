// The Windows values that the portable files of desktop/ restate, held to
// <windows.h> here so that a wrong copy cannot build.
#include <windows.h>

#include <commctrl.h>

#include "desktop/balloon.h"
#include "desktop/skin_button.h"

namespace orvika2 {

static_assert(kBalloonTooltipStyle ==
              (WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX | TTS_NOANIMATE | TTS_NOFADE | TTS_CLOSE));
static_assert(kBalloonShapeStyle == TTS_BALLOON);
static_assert(kTrackFlag == TTF_TRACK);
static_assert(kCentreTipFlag == TTF_CENTERTIP);
static_assert(kBalloonModifierKeys.first == VK_SHIFT && kBalloonModifierKeys.last == VK_MENU);
static_assert(kBalloonSwallowedKeys[0].first == VK_ESCAPE && kBalloonSwallowedKeys[0].last == VK_ESCAPE);
static_assert(kBalloonSwallowedKeys[1].first == VK_RETURN && kBalloonSwallowedKeys[1].last == VK_RETURN);
static_assert(kBalloonSwallowedKeys[2].first == VK_TAB && kBalloonSwallowedKeys[2].last == VK_TAB);
static_assert(kBalloonSwallowedKeys[3].first == VK_LEFT && kBalloonSwallowedKeys[3].last == VK_DOWN);
static_assert(kBalloonSwallowedKeys[4].first == VK_F1 && kBalloonSwallowedKeys[4].last == VK_F24);
static_assert(kBalloonClosingMouseMessages[0] == WM_LBUTTONDOWN);
static_assert(kBalloonClosingMouseMessages[1] == WM_RBUTTONDOWN);
static_assert(kBalloonClosingMouseMessages[2] == WM_MBUTTONDOWN);
static_assert(kBalloonClosingMouseMessages[3] == WM_NCLBUTTONDOWN);
static_assert(kBalloonClosingMouseMessages[4] == WM_NCRBUTTONDOWN);
static_assert(kBalloonClosingMouseMessages[5] == WM_NCMBUTTONDOWN);
static_assert(kBalloonClosingMouseMessages[6] == WM_MOUSEWHEEL);
static_assert(kCheckBoxStyle == BS_AUTOCHECKBOX);
static_assert(kRadioButtonStyle == BS_AUTORADIOBUTTON);

}  // namespace orvika2
