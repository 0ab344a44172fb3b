// Planar codec entry points: the per-format codec table, at layout kPlanar.
#include "tile/planar_codec.hpp"

#include <cassert>

#include "tile/tile_codec.hpp"

namespace tilvex {

void decode_planar(std::uint32_t depth, std::span<const std::uint8_t> tile, PixelTile& pixels) {
    assert(is_valid_depth(depth) && tile.size() == tile_size(depth));
    decoder_for({depth, kPlanar})(tile, pixels);
}

void encode_planar(std::uint32_t depth, const PixelTile& pixels, std::span<std::uint8_t> tile) {
    assert(is_valid_depth(depth) && tile.size() == tile_size(depth));
    encoder_for({depth, kPlanar})(pixels, tile);
}

}  // namespace tilvex
