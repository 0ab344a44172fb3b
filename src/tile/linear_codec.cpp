// Linear codec entry points: dispatch by depth to the portable codecs.
#include "tile/linear_codec.hpp"

#include <cassert>

#include "tile/portable_codecs.hpp"

namespace tilvex {

void decode_linear(std::uint32_t depth, std::span<const std::uint8_t> tile, PixelTile& pixels) {
    assert((depth == 2 || depth == 3 || depth == 4) && tile.size() == tile_size(depth));
    switch (depth) {
        case 2:
            portable::decode_linear<2>(tile.data(), pixels.data());
            break;
        case 3:
            portable::decode_linear<3>(tile.data(), pixels.data());
            break;
        default:
            portable::decode_linear<4>(tile.data(), pixels.data());
            break;
    }
}

void encode_linear(std::uint32_t depth, const PixelTile& pixels, std::span<std::uint8_t> tile) {
    assert((depth == 2 || depth == 3 || depth == 4) && tile.size() == tile_size(depth));
    switch (depth) {
        case 2:
            portable::encode_linear<2>(pixels.data(), tile.data());
            break;
        case 3:
            portable::encode_linear<3>(pixels.data(), tile.data());
            break;
        default:
            portable::encode_linear<4>(pixels.data(), tile.data());
            break;
    }
}

}  // namespace tilvex
