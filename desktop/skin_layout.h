#pragma once
// The main window drawn from its skin: where the window and its two skinned
// buttons go, in pixels, at each scale the bitmaps are drawn at, and which
// drawn set suits a display's DPI.
#include <cstdint>

namespace orvika2 {

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The layout at 100 %. scripts/draw_resources.py reads these three lines and
// draws the sockets under the buttons from them. Every number is a multiple
// of 4, so each drawn scale lands on whole pixels.
inline constexpr PixelRect kSkinWindow{0, 0, 140, 64};
inline constexpr PixelRect kSkinCodeButton{68, 16, 32, 32};
inline constexpr PixelRect kSkinMenuButton{104, 4, 24, 24};

inline constexpr int kDefaultDpi = 96;

// Bitmap resource ids of one drawn scale.
struct SkinBitmaps {
    int percent = 100;
    std::uint16_t windowSkin = 0;
    std::uint16_t codeNormal = 0, codeDown = 0, codeOver = 0, codeDisabled = 0, codeMask = 0;
    std::uint16_t menuNormal = 0, menuDown = 0, menuMask = 0;
};

// The drawn set nearest to the DPI; halfway between two sets, the larger.
const SkinBitmaps& SkinBitmapsForDpi(int dpi);

struct MainWindowLayout {
    PixelRect window;
    PixelRect codeButton;
    PixelRect menuButton;
    friend bool operator==(const MainWindowLayout&, const MainWindowLayout&) = default;
};

// The 100 % layout scaled to a drawn scale.
MainWindowLayout LayoutMainWindow(int percent);

// A length at 96 DPI, at this DPI.
int ScaleForDpi(int length, int dpi);

}  // namespace orvika2
