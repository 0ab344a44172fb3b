// Linear codec: each row is read as one big-endian number of 8 x depth bits and the
// pixels are cut from it, most significant field first.
#include "tile/linear_codec.hpp"

#include <cassert>

namespace tilvex {

void decode_linear(std::uint32_t depth, std::span<const std::uint8_t> tile, PixelTile& pixels) {
    assert((depth == 2 || depth == 3 || depth == 4) && tile.size() == tile_size(depth));
    const std::uint32_t mask = (1u << depth) - 1;
    for (std::uint32_t row = 0; row < kTileHeight; ++row) {
        std::uint32_t bits = 0;  // at most 32 bits: 8 pixels of 4 bits
        for (std::uint32_t i = 0; i < depth; ++i) {
            bits = (bits << 8) | tile[depth * row + i];
        }
        for (std::uint32_t x = 0; x < kTileWidth; ++x) {
            pixels[kTileWidth * row + x] =
                static_cast<std::uint8_t>((bits >> (depth * (7 - x))) & mask);
        }
    }
}

void encode_linear(std::uint32_t depth, const PixelTile& pixels, std::span<std::uint8_t> tile) {
    assert((depth == 2 || depth == 3 || depth == 4) && tile.size() == tile_size(depth));
    const std::uint32_t mask = (1u << depth) - 1;
    for (std::uint32_t row = 0; row < kTileHeight; ++row) {
        std::uint32_t bits = 0;
        for (std::uint32_t x = 0; x < kTileWidth; ++x) {
            // Mask before shifting, so bits above the depth never reach a neighbour's field.
            bits |= (pixels[kTileWidth * row + x] & mask) << (depth * (7 - x));
        }
        for (std::uint32_t i = 0; i < depth; ++i) {
            tile[depth * row + i] = static_cast<std::uint8_t>(bits >> (8 * (depth - 1 - i)));
        }
    }
}

}  // namespace tilvex
