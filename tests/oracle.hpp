// Plain, per-bit versions of the four tile codecs, written straight from the format
// description with no tables or tricks. They are the reference that the tool's own
// codecs (and whole conversions) are checked against.
#pragma once

#include <cstdint>
#include <vector>

#include "tile/tile_types.hpp"

namespace tilvex::oracle {

using Bytes = std::vector<std::uint8_t>;

// Planes come in pairs of 16 bytes, rows alternating; the third plane of a 3-bpp tile
// stands alone, one byte per row.
inline std::size_t plane_offset(unsigned depth, unsigned plane, unsigned row) {
    if (depth == 3 && plane == 2) {
        return 16 + row;
    }
    return 16 * (plane / 2) + 2 * row + plane % 2;
}

inline PixelTile decode_planar(unsigned depth, const std::uint8_t* tile) {
    PixelTile pixels{};
    for (unsigned y = 0; y < 8; ++y) {
        for (unsigned x = 0; x < 8; ++x) {
            unsigned value = 0;
            for (unsigned k = 0; k < depth; ++k) {
                value += ((tile[plane_offset(depth, k, y)] >> (7 - x)) & 1u) << k;
            }
            pixels[8 * y + x] = static_cast<std::uint8_t>(value);
        }
    }
    return pixels;
}

inline Bytes encode_planar(unsigned depth, const PixelTile& pixels) {
    Bytes tile(8 * depth, 0);
    for (unsigned y = 0; y < 8; ++y) {
        for (unsigned k = 0; k < depth; ++k) {
            unsigned value = 0;
            for (unsigned x = 0; x < 8; ++x) {
                value |= ((pixels[8 * y + x] >> k) & 1u) << (7 - x);
            }
            tile[plane_offset(depth, k, y)] = static_cast<std::uint8_t>(value);
        }
    }
    return tile;
}

// Linear: pixel (y, x) bit b sits at bit position depth*x + (depth-1-b) of row y's bit
// string, counted from the most significant bit of the row's first byte.
inline PixelTile decode_linear(unsigned depth, const std::uint8_t* tile) {
    PixelTile pixels{};
    for (unsigned y = 0; y < 8; ++y) {
        for (unsigned x = 0; x < 8; ++x) {
            unsigned value = 0;
            for (unsigned b = 0; b < depth; ++b) {
                const unsigned position = depth * x + (depth - 1 - b);
                const unsigned bit = (tile[depth * y + position / 8] >> (7 - position % 8)) & 1u;
                value |= bit << b;
            }
            pixels[8 * y + x] = static_cast<std::uint8_t>(value);
        }
    }
    return pixels;
}

inline Bytes encode_linear(unsigned depth, const PixelTile& pixels) {
    Bytes tile(8 * depth, 0);
    for (unsigned y = 0; y < 8; ++y) {
        for (unsigned x = 0; x < 8; ++x) {
            for (unsigned b = 0; b < depth; ++b) {
                const unsigned position = depth * x + (depth - 1 - b);
                const unsigned bit = (pixels[8 * y + x] >> b) & 1u;
                tile[depth * y + position / 8] |=
                    static_cast<std::uint8_t>(bit << (7 - position % 8));
            }
        }
    }
    return tile;
}

inline PixelTile decode(TileFormat format, const std::uint8_t* tile) {
    return format.layout == kPlanar ? decode_planar(format.depth, tile)
                                    : decode_linear(format.depth, tile);
}

inline Bytes encode(TileFormat format, const PixelTile& pixels) {
    return format.layout == kPlanar ? encode_planar(format.depth, pixels)
                                    : encode_linear(format.depth, pixels);
}

// The whole conversion of a file's bytes: a short final tile is completed with zeros.
inline Bytes convert(TileFormat input, TileFormat output, std::uint8_t offset, const Bytes& file) {
    const std::size_t in_size = 8 * input.depth;
    Bytes result;
    for (std::size_t start = 0; start < file.size(); start += in_size) {
        Bytes tile(in_size, 0);
        for (std::size_t i = 0; i < in_size && start + i < file.size(); ++i) {
            tile[i] = file[start + i];
        }
        PixelTile pixels = decode(input, tile.data());
        for (auto& p : pixels) {
            p = static_cast<std::uint8_t>(p + offset);
        }
        const Bytes encoded = encode(output, pixels);
        result.insert(result.end(), encoded.begin(), encoded.end());
    }
    return result;
}

}  // namespace tilvex::oracle
