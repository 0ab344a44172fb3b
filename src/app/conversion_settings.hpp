// Everything a conversion needs, gathered and checked by parameter entry and then
// handed to the conversion loop, which takes over (and closes) both streams.
#pragma once

#include <cstdint>
#include <cstdio>

#include "tile/tile_types.hpp"

namespace tilvex {

struct ConversionSettings {
    TileFormat input_format;
    TileFormat output_format;
    std::uint32_t color_offset = 0;      // 0..0xFF once checked
    std::FILE* input_stream = nullptr;   // opened "rb"
    std::FILE* output_stream = nullptr;  // opened "wb"
};

}  // namespace tilvex
