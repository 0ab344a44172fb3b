// Planar codec entry points: dispatch by depth to the portable codecs.
#include "tile/planar_codec.hpp"

#include <cassert>

#include "tile/portable_codecs.hpp"

namespace tilvex {

void decode_planar(std::uint32_t depth, std::span<const std::uint8_t> tile, PixelTile& pixels) {
    assert(is_valid_depth(depth) && tile.size() == tile_size(depth));
    switch (depth) {
        case 2:
            portable::decode_to_pixel_tile<portable::Codec<2, kPlanar>>(tile, pixels);
            break;
        case 3:
            portable::decode_to_pixel_tile<portable::Codec<3, kPlanar>>(tile, pixels);
            break;
        case 4:
            portable::decode_to_pixel_tile<portable::Codec<4, kPlanar>>(tile, pixels);
            break;
        default:
            portable::decode_to_pixel_tile<portable::Codec<8, kPlanar>>(tile, pixels);
            break;
    }
}

void encode_planar(std::uint32_t depth, const PixelTile& pixels, std::span<std::uint8_t> tile) {
    assert(is_valid_depth(depth) && tile.size() == tile_size(depth));
    switch (depth) {
        case 2:
            portable::encode_from_pixel_tile<portable::Codec<2, kPlanar>>(pixels, tile);
            break;
        case 3:
            portable::encode_from_pixel_tile<portable::Codec<3, kPlanar>>(pixels, tile);
            break;
        case 4:
            portable::encode_from_pixel_tile<portable::Codec<4, kPlanar>>(pixels, tile);
            break;
        default:
            portable::encode_from_pixel_tile<portable::Codec<8, kPlanar>>(pixels, tile);
            break;
    }
}

}  // namespace tilvex
