#pragma once
// The window region of a skinned button, from its mask: white is outside,
// every other colour inside.
#include <cstdint>
#include <vector>

namespace orvika2 {

struct RegionRect {
    int left = 0;
    int top = 0;
    int right = 0;   // one past the last pixel
    int bottom = 0;  // one past the row
    friend bool operator==(const RegionRect&, const RegionRect&) = default;
};

// A mask as 0x00RRGGBB pixels, row by row from the top.
struct MaskPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

inline constexpr std::uint32_t kMaskOutside = 0x00FFFFFF;

// One rectangle, one pixel high, per run of inside pixels; rows from the
// bottom up, runs left to right.
std::vector<RegionRect> RegionRectsFromMask(const MaskPixels& mask);

}  // namespace orvika2
