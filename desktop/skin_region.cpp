#include "desktop/skin_region.h"

namespace orvika2 {

std::vector<RegionRect> RegionRectsFromMask(const MaskPixels& mask) {
    std::vector<RegionRect> rects;
    if (mask.width <= 0 || mask.height <= 0 ||
        mask.pixels.size() < static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height)) {
        return rects;
    }
    for (int y = mask.height - 1; y >= 0; --y) {
        const std::uint32_t* row = mask.pixels.data() + static_cast<std::size_t>(y) * mask.width;
        int x = 0;
        while (x < mask.width) {
            while (x < mask.width && (row[x] & kMaskOutside) == kMaskOutside) ++x;
            if (x == mask.width) break;
            const int start = x;
            while (x < mask.width && (row[x] & kMaskOutside) != kMaskOutside) ++x;
            rects.push_back({start, y, x, y + 1});
        }
    }
    return rects;
}

}  // namespace orvika2
