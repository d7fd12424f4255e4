#include "desktop/balloon.h"

#include <algorithm>
#include <iterator>

namespace orvika2 {
namespace {

bool IsSwallowed(std::uint32_t key) {
    return std::ranges::any_of(kBalloonSwallowedKeys, [key](const KeyRange& range) { return range.Holds(key); });
}

}  // namespace

std::wstring CutBalloonText(std::wstring_view text, std::size_t limit) {
    return std::wstring(text.substr(0, limit));
}

BalloonKey ClassifyBalloonKey(int hookCode, std::uint32_t virtualKey, bool keyDown) {
    if (hookCode < 0 || !keyDown || kBalloonModifierKeys.Holds(virtualKey)) return BalloonKey::PassOn;
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
    return std::ranges::find(kBalloonClosingMouseMessages, message) != std::end(kBalloonClosingMouseMessages);
}

bool BalloonTipsAllowed(std::optional<std::uint32_t> enableBalloonTips) {
    return !enableBalloonTips || *enableBalloonTips != 0;
}

BalloonLook BalloonLookFor(bool balloonTipsAllowed, bool balloonShapeRequested) {
    const bool balloon = balloonTipsAllowed && balloonShapeRequested;
    return {kBalloonTooltipStyle | (balloon ? kBalloonShapeStyle : 0), kTrackFlag | (balloon ? kCentreTipFlag : 0), balloon};
}

AnchorPoint BalloonTrackPoint(int left, int top, int right, int bottom, bool pointAtCentre) {
    if (!pointAtCentre) return {left, top};
    return {left + (right - left) / 2, top + (bottom - top) / 2};
}

std::uint32_t PackTrackPosition(AnchorPoint point) {
    return (static_cast<std::uint32_t>(point.x) & 0xFFFF) | ((static_cast<std::uint32_t>(point.y) & 0xFFFF) << 16);
}

}  // namespace orvika2
