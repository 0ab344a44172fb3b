// The color offset: added to every palette index of a decoded tile, modulo 256.
#pragma once

#include <cstddef>
#include <cstdint>

#include "tile/tile_types.hpp"

namespace tilvex {

inline void add_color_offset(PixelTile& pixels, std::uint8_t offset) {
    for (std::uint8_t& pixel : pixels) {
        pixel = static_cast<std::uint8_t>(pixel + offset);
    }
}

// The whole conversion from 8-bpp linear to 8-bpp linear: `count` tiles copied with the
// offset added to every byte. A plain byte loop, which the compiler vectorizes.
void copy_with_color_offset(const std::uint8_t* input, std::uint8_t* output, std::size_t count,
                            std::uint8_t offset);

}  // namespace tilvex
