// Linear codec entry points: the per-format codec table, at layout kLinear.
#include "tile/linear_codec.hpp"

#include <cassert>

#include "tile/tile_codec.hpp"

namespace tilvex {

void decode_linear(std::uint32_t depth, std::span<const std::uint8_t> tile, PixelTile& pixels) {
    assert((depth == 2 || depth == 3 || depth == 4) && tile.size() == tile_size(depth));
    decoder_for({depth, kLinear})(tile, pixels);
}

void encode_linear(std::uint32_t depth, const PixelTile& pixels, std::span<std::uint8_t> tile) {
    assert((depth == 2 || depth == 3 || depth == 4) && tile.size() == tile_size(depth));
    encoder_for({depth, kLinear})(pixels, tile);
}

}  // namespace tilvex
