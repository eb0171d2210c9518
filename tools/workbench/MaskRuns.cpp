#include "tools/workbench/MaskRuns.h"

namespace cs::workbench {

std::vector<PixelRect> opaqueRuns(const GaugeImage& mask) {
    std::vector<PixelRect> out;
    std::vector<size_t> above;  // the runs of the row above, as indices into `out`
    std::vector<size_t> row;
    for (int y = 0; y < mask.height; ++y) {
        row.clear();
        const uint32_t* pixels = mask.argb.data() + static_cast<size_t>(y) * mask.width;
        for (int x = 0; x < mask.width;) {
            if ((pixels[x] >> 24) < 128) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < mask.width && (pixels[x] >> 24) >= 128) {
                ++x;
            }
            size_t grown = out.size();
            for (size_t i : above) {
                if (out[i].x == start && out[i].width == x - start) {
                    grown = i;
                }
            }
            if (grown == out.size()) {
                out.push_back(PixelRect{static_cast<double>(start), static_cast<double>(y),
                                        static_cast<double>(x - start), 0.0});
            }
            out[grown].height += 1.0;
            row.push_back(grown);
        }
        above.swap(row);
    }
    return out;
}

}  // namespace cs::workbench
