// The per-format codec table, built from the portable codecs.
#include "tile/tile_codec.hpp"

#include <array>

#include "tile/portable_codecs.hpp"

namespace tilvex {
namespace {

template <std::uint32_t Depth, std::uint32_t Layout>
constexpr TileDecoder kDecode = portable::decode_to_pixel_tile<portable::Codec<Depth, Layout>>;

template <std::uint32_t Depth, std::uint32_t Layout>
constexpr TileEncoder kEncode = portable::encode_from_pixel_tile<portable::Codec<Depth, Layout>>;

// Indexed by format_index: planar 2, 3, 4, 8, then linear 2, 3, 4, 8 (whose codec is a
// plain copy: the tile is the PixelTile).
constexpr std::array<TileDecoder, kFormatCount> kDecoders{
    kDecode<2, kPlanar>, kDecode<3, kPlanar>, kDecode<4, kPlanar>, kDecode<8, kPlanar>,
    kDecode<2, kLinear>, kDecode<3, kLinear>, kDecode<4, kLinear>, kDecode<8, kLinear>,
};

constexpr std::array<TileEncoder, kFormatCount> kEncoders{
    kEncode<2, kPlanar>, kEncode<3, kPlanar>, kEncode<4, kPlanar>, kEncode<8, kPlanar>,
    kEncode<2, kLinear>, kEncode<3, kLinear>, kEncode<4, kLinear>, kEncode<8, kLinear>,
};

}  // namespace

TileDecoder decoder_for(TileFormat format) {
    return kDecoders[format_index(format)];
}

TileEncoder encoder_for(TileFormat format) {
    return kEncoders[format_index(format)];
}

}  // namespace tilvex
