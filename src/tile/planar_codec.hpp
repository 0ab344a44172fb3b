// The planar tile formats at 2, 3, 4 and 8 bpp: bitplanes stored in row-interleaved
// pairs, with the unpaired third plane of a 3-bpp tile stored row by row at the end.
#pragma once

#include <cstdint>
#include <span>

#include "tile/tile_types.hpp"

namespace tilvex {

// Offset within a planar tile of the plane byte that holds plane `plane` of row `row`.
constexpr std::size_t plane_byte_offset(std::uint32_t depth, std::uint32_t plane,
                                        std::uint32_t row) {
    if (depth == 3 && plane == 2) {
        return 16 + row;  // the lone third plane has no partner to interleave with
    }
    return 16 * (plane / 2) + 2 * row + (plane % 2);
}

// Decodes the tile_size(depth) bytes of `tile` into all 64 pixels.
void decode_planar(std::uint32_t depth, std::span<const std::uint8_t> tile, PixelTile& pixels);

// Encodes the low `depth` bits of each pixel into every byte of `tile`, which must be
// tile_size(depth) bytes long.
void encode_planar(std::uint32_t depth, const PixelTile& pixels, std::span<std::uint8_t> tile);

}  // namespace tilvex
