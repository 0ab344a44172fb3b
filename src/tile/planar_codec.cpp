// Planar codec entry points: dispatch by depth to the portable codecs.
#include "tile/planar_codec.hpp"

#include <cassert>

#include "tile/portable_codecs.hpp"

namespace tilvex {
namespace {

template <class Codec>
void decode_into(std::span<const std::uint8_t> tile, PixelTile& pixels) {
    portable::PixelRows rows;
    Codec::decode(tile.data(), rows);
    portable::store_pixel_rows(rows, pixels.data());
}

template <class Codec>
void encode_from(const PixelTile& pixels, std::span<std::uint8_t> tile) {
    portable::PixelRows rows;
    portable::load_pixel_rows(pixels.data(), rows);
    Codec::encode(rows, tile.data());
}

}  // namespace

void decode_planar(std::uint32_t depth, std::span<const std::uint8_t> tile, PixelTile& pixels) {
    assert(is_valid_depth(depth) && tile.size() == tile_size(depth));
    switch (depth) {
        case 2:
            decode_into<portable::Codec<2, kPlanar>>(tile, pixels);
            break;
        case 3:
            decode_into<portable::Codec<3, kPlanar>>(tile, pixels);
            break;
        case 4:
            decode_into<portable::Codec<4, kPlanar>>(tile, pixels);
            break;
        default:
            decode_into<portable::Codec<8, kPlanar>>(tile, pixels);
            break;
    }
}

void encode_planar(std::uint32_t depth, const PixelTile& pixels, std::span<std::uint8_t> tile) {
    assert(is_valid_depth(depth) && tile.size() == tile_size(depth));
    switch (depth) {
        case 2:
            encode_from<portable::Codec<2, kPlanar>>(pixels, tile);
            break;
        case 3:
            encode_from<portable::Codec<3, kPlanar>>(pixels, tile);
            break;
        case 4:
            encode_from<portable::Codec<4, kPlanar>>(pixels, tile);
            break;
        default:
            encode_from<portable::Codec<8, kPlanar>>(pixels, tile);
            break;
    }
}

}  // namespace tilvex
