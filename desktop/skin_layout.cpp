#include "desktop/skin_layout.h"

#include <array>
#include <cstdlib>

#include "resources/resource.h"

namespace orvika2 {
namespace {

constexpr std::array<SkinBitmaps, 4> kDrawnSets{{
    {100, IDB_WINDOW_SKIN, IDB_CODE_NORMAL, IDB_CODE_DOWN, IDB_CODE_OVER, IDB_CODE_DISABLED, IDB_CODE_MASK,
     IDB_MENU_NORMAL, IDB_MENU_DOWN, IDB_MENU_MASK},
    {125, IDB_WINDOW_SKIN_125, IDB_CODE_NORMAL_125, IDB_CODE_DOWN_125, IDB_CODE_OVER_125, IDB_CODE_DISABLED_125,
     IDB_CODE_MASK_125, IDB_MENU_NORMAL_125, IDB_MENU_DOWN_125, IDB_MENU_MASK_125},
    {150, IDB_WINDOW_SKIN_150, IDB_CODE_NORMAL_150, IDB_CODE_DOWN_150, IDB_CODE_OVER_150, IDB_CODE_DISABLED_150,
     IDB_CODE_MASK_150, IDB_MENU_NORMAL_150, IDB_MENU_DOWN_150, IDB_MENU_MASK_150},
    {200, IDB_WINDOW_SKIN_200, IDB_CODE_NORMAL_200, IDB_CODE_DOWN_200, IDB_CODE_OVER_200, IDB_CODE_DISABLED_200,
     IDB_CODE_MASK_200, IDB_MENU_NORMAL_200, IDB_MENU_DOWN_200, IDB_MENU_MASK_200},
}};

int Scaled(int length, int percent) { return (length * percent + 50) / 100; }

PixelRect Scaled(const PixelRect& rect, int percent) {
    return {Scaled(rect.left, percent), Scaled(rect.top, percent), Scaled(rect.width, percent),
            Scaled(rect.height, percent)};
}

}  // namespace

const SkinBitmaps& SkinBitmapsForDpi(int dpi) {
    // Compared in DPI * 100 against percent * 96, so no rounding decides.
    const SkinBitmaps* nearest = &kDrawnSets.front();
    for (const auto& set : kDrawnSets) {
        const int distance = std::abs(dpi * 100 - set.percent * kDefaultDpi);
        if (distance <= std::abs(dpi * 100 - nearest->percent * kDefaultDpi)) nearest = &set;
    }
    return *nearest;
}

MainWindowLayout LayoutMainWindow(int percent) {
    return {Scaled(kSkinWindow, percent), Scaled(kSkinCodeButton, percent), Scaled(kSkinMenuButton, percent)};
}

int ScaleForDpi(int length, int dpi) { return (length * dpi + kDefaultDpi / 2) / kDefaultDpi; }

}  // namespace orvika2
