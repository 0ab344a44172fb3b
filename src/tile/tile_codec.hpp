// One decoder and one encoder for each of the eight tile formats, chosen once per run
// from a table indexed by format. Every decoder ends in a PixelTile and every encoder
// starts from one, so any format converts into any other.
#pragma once

#include <cstdint>
#include <span>

#include "tile/tile_types.hpp"

namespace tilvex {

// `tile` holds exactly tile_size(depth) bytes of the format.
using TileDecoder = void (*)(std::span<const std::uint8_t> tile, PixelTile& pixels);
using TileEncoder = void (*)(const PixelTile& pixels, std::span<std::uint8_t> tile);

// `format` must be valid.
TileDecoder decoder_for(TileFormat format);
TileEncoder encoder_for(TileFormat format);

}  // namespace tilvex
