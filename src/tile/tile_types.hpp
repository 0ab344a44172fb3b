// The types every part of the tool shares: a tile format, the decoded pixel tile
// and the size of one encoded tile.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace tilvex {

inline constexpr std::uint32_t kPlanar = 0;
inline constexpr std::uint32_t kLinear = 1;

// Marks a depth or layout that no mode character or typed number set to a usable value.
// It fails every check, like any other invalid value.
inline constexpr std::uint32_t kUnrecognised = 0xFFFFFFFF;

// A tile storage format: bits per pixel (2, 3, 4 or 8) and layout (kPlanar or kLinear).
struct TileFormat {
    std::uint32_t depth = kUnrecognised;
    std::uint32_t layout = kUnrecognised;

    friend bool operator==(const TileFormat&, const TileFormat&) = default;
};

inline constexpr std::size_t kTileWidth = 8;
inline constexpr std::size_t kTileHeight = 8;
inline constexpr std::size_t kPixelsPerTile = kTileWidth * kTileHeight;
inline constexpr std::size_t kMaxTileSize = 64;  // an 8-bpp tile

// One palette index per pixel, row-major: pixel (y, x) is byte 8y + x.
// Byte for byte this is also the 8-bpp linear tile format.
using PixelTile = std::array<std::uint8_t, kPixelsPerTile>;

constexpr bool is_valid_depth(std::uint32_t depth) {
    return depth == 2 || depth == 3 || depth == 4 || depth == 8;
}

constexpr bool is_valid_layout(std::uint32_t layout) {
    return layout == kPlanar || layout == kLinear;
}

constexpr bool is_valid_format(TileFormat format) {
    return is_valid_depth(format.depth) && is_valid_layout(format.layout);
}

// Bytes in one encoded tile: one byte per row for each bit of depth, in both layouts.
constexpr std::size_t tile_size(std::uint32_t depth) {
    return kTileHeight * depth;
}

// The eight valid formats numbered 0..7 (planar 2, 3, 4, 8, then linear 2, 3, 4, 8),
// so per-format tables can be indexed directly.
inline constexpr std::size_t kFormatCount = 8;

constexpr std::size_t depth_index(std::uint32_t depth) {
    return depth == 2 ? 0 : depth == 3 ? 1 : depth == 4 ? 2 : 3;
}

constexpr std::size_t format_index(TileFormat format) {
    return format.layout * 4 + depth_index(format.depth);
}

inline constexpr std::array<TileFormat, kFormatCount> kAllFormats{{
    {2, kPlanar},
    {3, kPlanar},
    {4, kPlanar},
    {8, kPlanar},
    {2, kLinear},
    {3, kLinear},
    {4, kLinear},
    {8, kLinear},
}};

}  // namespace tilvex
