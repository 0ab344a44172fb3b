// Linear codec entry points: dispatch by depth to the portable codecs.
#include "tile/linear_codec.hpp"

#include <cassert>

#include "tile/portable_codecs.hpp"

namespace tilvex {

void decode_linear(std::uint32_t depth, std::span<const std::uint8_t> tile, PixelTile& pixels) {
    assert((depth == 2 || depth == 3 || depth == 4) && tile.size() == tile_size(depth));
    switch (depth) {
        case 2:
            portable::decode_to_pixel_tile<portable::Codec<2, kLinear>>(tile, pixels);
            break;
        case 3:
            portable::decode_to_pixel_tile<portable::Codec<3, kLinear>>(tile, pixels);
            break;
        default:
            portable::decode_to_pixel_tile<portable::Codec<4, kLinear>>(tile, pixels);
            break;
    }
}

void encode_linear(std::uint32_t depth, const PixelTile& pixels, std::span<std::uint8_t> tile) {
    assert((depth == 2 || depth == 3 || depth == 4) && tile.size() == tile_size(depth));
    switch (depth) {
        case 2:
            portable::encode_from_pixel_tile<portable::Codec<2, kLinear>>(pixels, tile);
            break;
        case 3:
            portable::encode_from_pixel_tile<portable::Codec<3, kLinear>>(pixels, tile);
            break;
        default:
            portable::encode_from_pixel_tile<portable::Codec<4, kLinear>>(pixels, tile);
            break;
    }
}

}  // namespace tilvex
