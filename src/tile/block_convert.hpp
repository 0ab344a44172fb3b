// Whole blocks of tiles converted from one format into another in one call, with one
// fused kernel for each of the 64 format pairs: decode into a PixelTile, add the color
// offset, encode. Two implementations of the same kernels exist: the portable one, always
// built, and one for x86-64 CPUs with AVX-512 VBMI and GFNI, chosen at run time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tile/tile_types.hpp"

namespace tilvex {

enum class CodecPath { portable, avx512 };

inline constexpr CodecPath kAllCodecPaths[] = {CodecPath::portable, CodecPath::avx512};

// Converts `count` whole tiles from `input` into `output`, adding `offset` to every
// pixel. The buffers hold exactly count x tile size bytes of their format.
using BlockConverter = void (*)(const std::uint8_t* input, std::uint8_t* output, std::size_t count,
                                std::uint8_t offset);

// Whether this build has the path and this CPU can run it.
bool is_path_available(CodecPath path);

// The fastest path available here.
CodecPath fastest_path();

std::string_view path_name(CodecPath path);

// The converter for a pair of valid formats on an available path.
BlockConverter block_converter_for(TileFormat input, TileFormat output, CodecPath path);

}  // namespace tilvex
