// Planar codec entry points: dispatch by depth to the portable codecs.
#include "tile/planar_codec.hpp"

#include <cassert>

#include "tile/portable_codecs.hpp"

namespace tilvex {

void decode_planar(std::uint32_t depth, std::span<const std::uint8_t> tile, PixelTile& pixels) {
    assert(is_valid_depth(depth) && tile.size() == tile_size(depth));
    switch (depth) {
        case 2:
            portable::decode_planar<2>(tile.data(), pixels.data());
            break;
        case 3:
            portable::decode_planar<3>(tile.data(), pixels.data());
            break;
        case 4:
            portable::decode_planar<4>(tile.data(), pixels.data());
            break;
        default:
            portable::decode_planar<8>(tile.data(), pixels.data());
            break;
    }
}

void encode_planar(std::uint32_t depth, const PixelTile& pixels, std::span<std::uint8_t> tile) {
    assert(is_valid_depth(depth) && tile.size() == tile_size(depth));
    switch (depth) {
        case 2:
            portable::encode_planar<2>(pixels.data(), tile.data());
            break;
        case 3:
            portable::encode_planar<3>(pixels.data(), tile.data());
            break;
        case 4:
            portable::encode_planar<4>(pixels.data(), tile.data());
            break;
        default:
            portable::encode_planar<8>(pixels.data(), tile.data());
            break;
    }
}

}  // namespace tilvex
