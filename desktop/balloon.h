#pragma once
// The balloon message's decisions: which keys and clicks close it, how long
// its texts may be, its tooltip's style and where it points.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvika2 {

// The Windows values the balloon decides by; desktop/windows_constants_win32.cpp
// holds them to <windows.h>.
// Popup, always tip, no prefix, no animation, no fade, close box. Not created
// visible: a popup created visible is activated and takes the keyboard focus
// from the field the user types into; tracking shows the tip without activation.
inline constexpr std::uint32_t kBalloonTooltipStyle = 0x800000B3;
inline constexpr std::uint32_t kBalloonShapeStyle = 0x40;          // TTS_BALLOON
inline constexpr std::uint32_t kTrackFlag = 0x20;                  // TTF_TRACK
inline constexpr std::uint32_t kCentreTipFlag = 0x02;              // TTF_CENTERTIP

struct KeyRange {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    constexpr bool Holds(std::uint32_t key) const { return key >= first && key <= last; }
};
// Shift, Control, Alt.
inline constexpr KeyRange kBalloonModifierKeys{0x10, 0x12};
// Escape, Enter, Tab, the arrows, F1 to F24.
inline constexpr KeyRange kBalloonSwallowedKeys[] = {
    {0x1B, 0x1B}, {0x0D, 0x0D}, {0x09, 0x09}, {0x25, 0x28}, {0x70, 0x87},
};
// The three buttons down, in the client and the non-client area, and the wheel.
inline constexpr std::uint32_t kBalloonClosingMouseMessages[] = {
    0x0201, 0x0204, 0x0207, 0x00A1, 0x00A4, 0x00A7, 0x020A,
};

inline constexpr std::size_t kBalloonTitleMax = 498;
inline constexpr std::size_t kBalloonTextMax = 3998;

std::wstring CutBalloonText(std::wstring_view text, std::size_t limit);

enum class BalloonKey {
    PassOn,          // not a close trigger
    CloseSwallow,    // closes the balloon and never reaches the window
    PassOnAndClose,  // reaches the window, then closes the balloon
};

// Keyboard hook: hook code, virtual key and whether the key goes down.
BalloonKey ClassifyBalloonKey(int hookCode, std::uint32_t virtualKey, bool keyDown);

// Mouse hook: a button press or the wheel, with a non-negative hook code.
bool MouseMessageClosesBalloon(int hookCode, std::uint32_t message);

// Messages to the owner or the host window that close the balloon, with the
// message's wParam. Activation and focus close it only when the owner loses
// them: a notice posted while the main window starts, before the window is
// shown, activated and its focus handed to a control, stays up.
// `focusStaysInOwner`: a WM_KILLFOCUS hands the focus to the owner's own
// control.
bool WindowMessageClosesBalloon(std::uint32_t message, std::uintptr_t wParam, bool focusStaysInOwner);

// "EnableBalloonTips": allowed unless the key opens, the value reads, and
// the value is 0. A missing value is nullopt.
bool BalloonTipsAllowed(std::optional<std::uint32_t> enableBalloonTips);

struct BalloonLook {
    std::uint32_t tooltipStyle = 0;
    std::uint32_t toolFlags = 0;
    bool pointAtCentre = false;
};
// The rounded, centred balloon needs both the system setting and the
// caller's request; otherwise a plain tip at the anchor's top-left corner.
BalloonLook BalloonLookFor(bool balloonTipsAllowed, bool balloonShapeRequested);

struct AnchorPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const AnchorPoint&, const AnchorPoint&) = default;
};
AnchorPoint BalloonTrackPoint(int left, int top, int right, int bottom, bool pointAtCentre);

// TTM_TRACKPOSITION's lParam: x in the low word, y in the high word.
std::uint32_t PackTrackPosition(AnchorPoint point);

}  // namespace orvika2
