#include <gtest/gtest.h>

#include <string>

#include "desktop/skin_region.h"

namespace orvika2 {
namespace {

constexpr std::uint32_t W = 0x00FFFFFF;
constexpr std::uint32_t B = 0x00000000;

MaskPixels MaskFrom(const std::vector<std::string>& rows) {
    MaskPixels mask;
    mask.height = static_cast<int>(rows.size());
    mask.width = static_cast<int>(rows.front().size());
    for (const auto& row : rows) {
        for (char c : row) mask.pixels.push_back(c == '#' ? B : W);
    }
    return mask;
}

TEST(SkinRegion, OneRectanglePerRunRowsFromTheBottom) {
    const auto rects = RegionRectsFromMask(MaskFrom({
        "..##",
        "#..#",
        "####",
    }));
    const std::vector<RegionRect> expected = {
        {0, 2, 4, 3},                // bottom row, run to the last column ends at the width
        {0, 1, 1, 2}, {3, 1, 4, 2},  // two runs, left to right
        {2, 0, 4, 1},
    };
    EXPECT_EQ(rects, expected);
}

TEST(SkinRegion, OnlyPureWhiteIsOutside) {
    MaskPixels mask{3, 1, {0x00FFFFFE, W, 0xFF000000 | W}};
    // The top byte is no colour; near-white is a colour.
    EXPECT_EQ(RegionRectsFromMask(mask), (std::vector<RegionRect>{{0, 0, 1, 1}}));
}

TEST(SkinRegion, NoMaskOrAnAllWhiteMaskGivesNoRegion) {
    EXPECT_TRUE(RegionRectsFromMask({}).empty());
    EXPECT_TRUE(RegionRectsFromMask(MaskFrom({"....", "...."})).empty());
    MaskPixels shortData{4, 4, {B, B}};
    EXPECT_TRUE(RegionRectsFromMask(shortData).empty());
}

TEST(SkinRegion, RectanglesCoverExactlyTheInsidePixels) {
    // A disc: the union of the rectangles is the set of black pixels.
    MaskPixels disc{32, 32, {}};
    int inside = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const double dx = x + 0.5 - 16, dy = y + 0.5 - 16;
            const bool in = dx * dx + dy * dy <= 15.0 * 15.0;
            inside += in;
            disc.pixels.push_back(in ? B : W);
        }
    }
    int covered = 0;
    for (const auto& r : RegionRectsFromMask(disc)) {
        ASSERT_EQ(r.bottom - r.top, 1);
        for (int x = r.left; x < r.right; ++x) {
            EXPECT_EQ(disc.pixels[static_cast<std::size_t>(r.top) * 32 + x], B);
            ++covered;
        }
    }
    EXPECT_EQ(covered, inside);
}

}  // namespace
}  // namespace orvika2
