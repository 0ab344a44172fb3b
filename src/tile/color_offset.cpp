#include "tile/color_offset.hpp"

namespace tilvex {

void copy_with_color_offset(const std::uint8_t* input, std::uint8_t* output, std::size_t count,
                            std::uint8_t offset) {
    for (std::size_t i = 0; i < count * kPixelsPerTile; ++i) {
        output[i] = static_cast<std::uint8_t>(input[i] + offset);
    }
}

}  // namespace tilvex
