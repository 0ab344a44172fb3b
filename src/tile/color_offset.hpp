// The color offset: added to every palette index of a decoded tile, modulo 256.
#pragma once

#include <cstdint>

#include "tile/tile_types.hpp"

namespace tilvex {

inline void add_color_offset(PixelTile& pixels, std::uint8_t offset) {
    for (std::uint8_t& pixel : pixels) {
        pixel = static_cast<std::uint8_t>(pixel + offset);
    }
}

}  // namespace tilvex
