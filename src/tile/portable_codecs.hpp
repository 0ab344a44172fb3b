// The portable codecs, one specialisation per depth so that every loop unrolls and every
// shift is a constant. They work on plain byte pointers: `tile` holds tile_size(Depth)
// bytes, `pixels` the 64 bytes of a PixelTile. Used by the public codec functions and by
// the portable block converters.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "tile/bits.hpp"
#include "tile/planar_codec.hpp"
#include "tile/tile_types.hpp"

namespace tilvex::portable {

// ---- planar ----

template <std::uint32_t Depth>
inline void decode_planar(const std::uint8_t* tile, std::uint8_t* pixels) {
    for (std::uint32_t row = 0; row < kTileHeight; ++row) {
        std::uint64_t pixel_row = 0;
        for (std::uint32_t plane = 0; plane < Depth; ++plane) {
            // Each spread byte is 0 or 1, so shifting it by the plane number never
            // carries into the neighbouring pixel.
            pixel_row |= kSpreadBits[tile[plane_byte_offset(Depth, plane, row)]] << plane;
        }
        store_row(pixels + kTileWidth * row, pixel_row);
    }
}

template <std::uint32_t Depth>
inline void encode_planar(const std::uint8_t* pixels, std::uint8_t* tile) {
    for (std::uint32_t row = 0; row < kTileHeight; ++row) {
        const std::uint64_t pixel_row = load_row(pixels + kTileWidth * row);
        for (std::uint32_t plane = 0; plane < Depth; ++plane) {
            tile[plane_byte_offset(Depth, plane, row)] = gather_low_bits(pixel_row >> plane);
        }
    }
}

// ---- linear ----

// Unpacking tables: entry i holds the pixels packed in the bits of i, leftmost pixel in
// the lowest byte (so a little-endian store puts it first).
template <std::uint32_t Depth, std::uint32_t Pixels, class Entry>
constexpr auto make_unpack_table() {
    std::array<Entry, (1u << (Depth * Pixels))> table{};
    for (std::uint32_t bits = 0; bits < table.size(); ++bits) {
        for (std::uint32_t x = 0; x < Pixels; ++x) {
            const std::uint32_t pixel = (bits >> (Depth * (Pixels - 1 - x))) & ((1u << Depth) - 1);
            table[bits] = static_cast<Entry>(table[bits] | static_cast<Entry>(pixel) << (8 * x));
        }
    }
    return table;
}

inline constexpr auto kUnpack2 = make_unpack_table<2, 4, std::uint32_t>();  // a byte: 4 pixels
inline constexpr auto kUnpack3 = make_unpack_table<3, 4, std::uint32_t>();  // 12 bits: 4 pixels
inline constexpr auto kUnpack4 = make_unpack_table<4, 2, std::uint16_t>();  // a byte: 2 pixels

template <std::uint32_t Depth>
inline void decode_linear(const std::uint8_t* tile, std::uint8_t* pixels) {
    static_assert(Depth == 2 || Depth == 3 || Depth == 4 || Depth == 8);
    if constexpr (Depth == 8) {
        std::memcpy(pixels, tile, kPixelsPerTile);  // an 8-bpp linear tile is the PixelTile
    } else {
        for (std::uint32_t row = 0; row < kTileHeight; ++row) {
            const std::uint8_t* bytes = tile + Depth * row;
            std::uint64_t pixel_row = 0;
            if constexpr (Depth == 2) {
                pixel_row = kUnpack2[bytes[0]] | std::uint64_t{kUnpack2[bytes[1]]} << 32;
            } else if constexpr (Depth == 3) {
                const std::uint32_t bits = std::uint32_t{bytes[0]} << 16 | bytes[1] << 8 | bytes[2];
                pixel_row = kUnpack3[bits >> 12] | std::uint64_t{kUnpack3[bits & 0xFFF]} << 32;
            } else {
                for (std::uint32_t i = 0; i < 4; ++i) {
                    pixel_row |= std::uint64_t{kUnpack4[bytes[i]]} << (16 * i);
                }
            }
            store_row(pixels + kTileWidth * row, pixel_row);
        }
    }
}

template <std::uint32_t Depth>
inline void encode_linear(const std::uint8_t* pixels, std::uint8_t* tile) {
    static_assert(Depth == 2 || Depth == 3 || Depth == 4 || Depth == 8);
    if constexpr (Depth == 8) {
        std::memcpy(tile, pixels, kPixelsPerTile);
    } else {
        constexpr std::uint64_t kPixelMask = kLowBitOfEachByte * ((1u << Depth) - 1);
        constexpr std::uint64_t kPairMask = (std::uint64_t{1} << (2 * Depth)) - 1;
        constexpr std::uint64_t kQuadMask = (std::uint64_t{1} << (4 * Depth)) - 1;
        for (std::uint32_t row = 0; row < kTileHeight; ++row) {
            // Join neighbouring fields into fields of twice the width, left field high:
            // pairs in each 16-bit lane, quads in each 32-bit lane, then the whole row.
            std::uint64_t v = load_row(pixels + kTileWidth * row) & kPixelMask;
            v = ((v << Depth) | (v >> 8)) & (kPairMask * 0x0001000100010001);
            v = ((v << (2 * Depth)) | (v >> 16)) & (kQuadMask * 0x0000000100000001);
            const std::uint32_t bits = static_cast<std::uint32_t>((v << (4 * Depth)) | (v >> 32));
            std::uint8_t* bytes = tile + Depth * row;
            for (std::uint32_t i = 0; i < Depth; ++i) {
                bytes[i] = static_cast<std::uint8_t>(bits >> (8 * (Depth - 1 - i)));  // big-endian
            }
        }
    }
}

// ---- dispatch by format ----

template <std::uint32_t Depth, std::uint32_t Layout>
struct Codec {
    static constexpr std::size_t kSize = tile_size(Depth);
    static void decode(const std::uint8_t* tile, std::uint8_t* pixels) {
        if constexpr (Layout == kPlanar) {
            decode_planar<Depth>(tile, pixels);
        } else {
            decode_linear<Depth>(tile, pixels);
        }
    }
    static void encode(const std::uint8_t* pixels, std::uint8_t* tile) {
        if constexpr (Layout == kPlanar) {
            encode_planar<Depth>(pixels, tile);
        } else {
            encode_linear<Depth>(pixels, tile);
        }
    }
};

}  // namespace tilvex::portable
