// The linear (packed) tile formats at 2, 3 and 4 bpp: each row one big-endian bit
// string of 8 x depth bits, the leftmost pixel in the most significant bits.
#pragma once

#include <cstdint>
#include <span>

#include "tile/tile_types.hpp"

namespace tilvex {

// Decodes the tile_size(depth) bytes of `tile` (depth 2, 3 or 4) into all 64 pixels.
void decode_linear(std::uint32_t depth, std::span<const std::uint8_t> tile, PixelTile& pixels);

// Packs the low `depth` bits of each pixel into every byte of `tile` (depth 2, 3 or 4),
// which must be tile_size(depth) bytes long.
void encode_linear(std::uint32_t depth, const PixelTile& pixels, std::span<std::uint8_t> tile);

}  // namespace tilvex
