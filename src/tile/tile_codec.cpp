#include "tile/tile_codec.hpp"

#include <algorithm>
#include <array>

#include "tile/linear_codec.hpp"
#include "tile/planar_codec.hpp"

namespace tilvex {
namespace {

template <std::uint32_t Depth>
void decode_planar_tile(std::span<const std::uint8_t> tile, PixelTile& pixels) {
    decode_planar(Depth, tile, pixels);
}

template <std::uint32_t Depth>
void encode_planar_tile(const PixelTile& pixels, std::span<std::uint8_t> tile) {
    encode_planar(Depth, pixels, tile);
}

template <std::uint32_t Depth>
void decode_linear_tile(std::span<const std::uint8_t> tile, PixelTile& pixels) {
    decode_linear(Depth, tile, pixels);
}

template <std::uint32_t Depth>
void encode_linear_tile(const PixelTile& pixels, std::span<std::uint8_t> tile) {
    encode_linear(Depth, pixels, tile);
}

// An 8-bpp linear tile is the PixelTile itself.
void copy_in_pixel_tile(std::span<const std::uint8_t> tile, PixelTile& pixels) {
    std::copy_n(tile.begin(), kPixelsPerTile, pixels.begin());
}

void copy_out_pixel_tile(const PixelTile& pixels, std::span<std::uint8_t> tile) {
    std::copy_n(pixels.begin(), kPixelsPerTile, tile.begin());
}

// Indexed by format_index: planar 2, 3, 4, 8, then linear 2, 3, 4, 8.
constexpr std::array<TileDecoder, kFormatCount> kDecoders{
    decode_planar_tile<2>, decode_planar_tile<3>, decode_planar_tile<4>, decode_planar_tile<8>,
    decode_linear_tile<2>, decode_linear_tile<3>, decode_linear_tile<4>, copy_in_pixel_tile,
};

constexpr std::array<TileEncoder, kFormatCount> kEncoders{
    encode_planar_tile<2>, encode_planar_tile<3>, encode_planar_tile<4>, encode_planar_tile<8>,
    encode_linear_tile<2>, encode_linear_tile<3>, encode_linear_tile<4>, copy_out_pixel_tile,
};

}  // namespace

TileDecoder decoder_for(TileFormat format) {
    return kDecoders[format_index(format)];
}

TileEncoder encoder_for(TileFormat format) {
    return kEncoders[format_index(format)];
}

}  // namespace tilvex
