// The conversion loop: reads the input in blocks of whole tiles, converts every tile
// through a PixelTile with the color offset added, and writes the output in sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "app/conversion_settings.hpp"
#include "app/messages.hpp"
#include "tile/color_offset.hpp"
#include "tile/tile_types.hpp"

namespace tilvex {

// Tiles per read and per write: at most 256 KiB of input and of output at 8 bpp.
inline constexpr std::size_t kBlockTiles = 4096;

// Converts `tile_count` whole tiles from `input` (tile_count x input tile size bytes)
// into `output` (tile_count x output tile size bytes).
void convert_block(TileFormat input_format, TileFormat output_format, std::uint8_t color_offset,
                   std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                   std::size_t tile_count);

// Converts the whole input stream into the output stream, then closes both (input first).
// A short final tile is completed with zero bytes. Returns Failure::none, or the read or
// write failure that stopped the conversion.
Failure convert_tiles(ConversionSettings settings);

}  // namespace tilvex
