// Planar codec: each plane byte is spread to, or gathered from, one bit of the 8 pixels
// of its row, a whole row at a time in a 64-bit word.
#include "tile/planar_codec.hpp"

#include <cassert>

#include "tile/bits.hpp"

namespace tilvex {

void decode_planar(std::uint32_t depth, std::span<const std::uint8_t> tile, PixelTile& pixels) {
    assert(is_valid_depth(depth) && tile.size() == tile_size(depth));
    for (std::uint32_t row = 0; row < kTileHeight; ++row) {
        std::uint64_t pixel_row = 0;
        for (std::uint32_t plane = 0; plane < depth; ++plane) {
            // Each spread byte is 0 or 1, so shifting by the plane number never carries
            // into the neighbouring pixel.
            pixel_row |= kSpreadBits[tile[plane_byte_offset(depth, plane, row)]] << plane;
        }
        store_row(&pixels[kTileWidth * row], pixel_row);
    }
}

void encode_planar(std::uint32_t depth, const PixelTile& pixels, std::span<std::uint8_t> tile) {
    assert(is_valid_depth(depth) && tile.size() == tile_size(depth));
    for (std::uint32_t row = 0; row < kTileHeight; ++row) {
        const std::uint64_t pixel_row = load_row(&pixels[kTileWidth * row]);
        for (std::uint32_t plane = 0; plane < depth; ++plane) {
            tile[plane_byte_offset(depth, plane, row)] = gather_low_bits(pixel_row >> plane);
        }
    }
}

}  // namespace tilvex
