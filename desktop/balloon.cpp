#include "desktop/balloon.h"

namespace orvika2 {
namespace {

// Popup, always tip, no prefix, no animation, close box. Not created visible:
// a popup created visible is activated and takes the keyboard focus from the
// field the user types into; tracking shows the tip without activation.
constexpr std::uint32_t kTooltipStyle = 0x800000B3;
constexpr std::uint32_t kBalloonStyle = 0x40;        // TTS_BALLOON
constexpr std::uint32_t kTrackFlag = 0x20;           // TTF_TRACK
constexpr std::uint32_t kCentreTipFlag = 0x02;       // TTF_CENTERTIP

bool IsModifier(std::uint32_t key) { return key >= 0x10 && key <= 0x12; }

bool IsSwallowed(std::uint32_t key) {
    return key == 0x1B || key == 0x0D || key == 0x09 || (key >= 0x25 && key <= 0x28) || (key >= 0x70 && key <= 0x87);
}

}  // namespace

std::wstring CutBalloonText(std::wstring_view text, std::size_t limit) {
    return std::wstring(text.substr(0, limit));
}

BalloonKey ClassifyBalloonKey(int hookCode, std::uint32_t virtualKey, bool keyDown) {
    if (hookCode < 0 || !keyDown || IsModifier(virtualKey)) return BalloonKey::PassOn;
    return IsSwallowed(virtualKey) ? BalloonKey::CloseSwallow : BalloonKey::PassOnAndClose;
}

bool WindowMessageClosesBalloon(std::uint32_t message, std::uintptr_t wParam, bool focusStaysInOwner) {
    switch (message) {
        case 0x0006:  // WM_ACTIVATE
            return (wParam & 0xFFFF) == 0;  // WA_INACTIVE
        case 0x0008:  // WM_KILLFOCUS
            return !focusStaysInOwner;
        case 0x0021:  // WM_MOUSEACTIVATE
        case 0x0112:  // WM_SYSCOMMAND
        case 0x0114:  // WM_HSCROLL
        case 0x0115:  // WM_VSCROLL
        case 0x0211:  // WM_ENTERMENULOOP
            return true;
        default: return false;
    }
}

bool MouseMessageClosesBalloon(int hookCode, std::uint32_t message) {
    if (hookCode < 0) return false;
    switch (message) {
        case 0x0201:  // WM_LBUTTONDOWN
        case 0x0204:  // WM_RBUTTONDOWN
        case 0x0207:  // WM_MBUTTONDOWN
        case 0x00A1:  // WM_NCLBUTTONDOWN
        case 0x00A4:  // WM_NCRBUTTONDOWN
        case 0x00A7:  // WM_NCMBUTTONDOWN
        case 0x020A:  // WM_MOUSEWHEEL
            return true;
        default: return false;
    }
}

bool BalloonTipsAllowed(std::optional<std::uint32_t> enableBalloonTips) {
    return !enableBalloonTips || *enableBalloonTips != 0;
}

BalloonLook BalloonLookFor(bool balloonTipsAllowed, bool balloonShapeRequested) {
    const bool balloon = balloonTipsAllowed && balloonShapeRequested;
    return {kTooltipStyle | (balloon ? kBalloonStyle : 0), kTrackFlag | (balloon ? kCentreTipFlag : 0), balloon};
}

AnchorPoint BalloonTrackPoint(int left, int top, int right, int bottom, bool pointAtCentre) {
    if (!pointAtCentre) return {left, top};
    return {left + (right - left) / 2, top + (bottom - top) / 2};
}

std::uint32_t PackTrackPosition(AnchorPoint point) {
    return (static_cast<std::uint32_t>(point.x) & 0xFFFF) | ((static_cast<std::uint32_t>(point.y) & 0xFFFF) << 16);
}

}  // namespace orvika2
