#include <gtest/gtest.h>

#include "desktop/skin_layout.h"

namespace orvika2 {
namespace {

TEST(SkinLayout, NearestDrawnScaleForTheDpiHalfwayTakesTheLarger) {
    const struct {
        int dpi;
        int percent;
    } rows[] = {
        {72, 100}, {96, 100}, {107, 100}, {108, 125}, {120, 125}, {131, 125},
        {132, 150}, {144, 150}, {167, 150}, {168, 200}, {192, 200}, {288, 200},
    };
    for (const auto& row : rows) EXPECT_EQ(SkinBitmapsForDpi(row.dpi).percent, row.percent) << row.dpi;
    EXPECT_NE(SkinBitmapsForDpi(144).codeMask, SkinBitmapsForDpi(96).codeMask);
    EXPECT_NE(SkinBitmapsForDpi(192).windowSkin, SkinBitmapsForDpi(120).windowSkin);
}

// The sockets are drawn at the 100 % centres times the scale: a button whose
// centre rounds elsewhere sits off its socket.
TEST(SkinLayout, ButtonsKeepTheirCentresAndStayInsideTheWindowAtEveryDrawnScale) {
    const auto doubledCentre = [](const PixelRect& r) { return std::pair{2 * r.left + r.width, 2 * r.top + r.height}; };
    for (int percent : {100, 125, 150, 200}) {
        const MainWindowLayout layout = LayoutMainWindow(percent);
        EXPECT_EQ(layout.window.width * 100, kSkinWindow.width * percent) << percent;
        EXPECT_EQ(layout.window.height * 100, kSkinWindow.height * percent) << percent;
        const std::pair<const PixelRect&, const PixelRect&> buttons[] = {{layout.codeButton, kSkinCodeButton},
                                                                         {layout.menuButton, kSkinMenuButton}};
        for (const auto& [scaled, original] : buttons) {
            const auto [x, y] = doubledCentre(scaled);
            const auto [x100, y100] = doubledCentre(original);
            EXPECT_EQ(x * 100, x100 * percent) << percent;
            EXPECT_EQ(y * 100, y100 * percent) << percent;
            EXPECT_EQ(scaled.width * 100, original.width * percent) << percent;
            EXPECT_GE(scaled.left, 0);
            EXPECT_GE(scaled.top, 0);
            EXPECT_LE(scaled.left + scaled.width, layout.window.width);
            EXPECT_LE(scaled.top + scaled.height, layout.window.height);
        }
    }
}

}  // namespace
}  // namespace orvika2
