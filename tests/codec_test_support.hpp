// Helpers for the codec tests: building tiles from rows and running a codec on buffers
// of exactly one tile, so that the sanitizers catch any byte read or written past it.
#pragma once

#include <algorithm>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "oracle.hpp"
#include "tile/tile_codec.hpp"
#include "tile/tile_types.hpp"

namespace tilvex::testing {

using Row = std::array<std::uint8_t, 8>;

inline PixelTile tile_with_row(std::uint32_t y, const Row& row) {
    PixelTile pixels{};
    std::copy(row.begin(), row.end(), pixels.begin() + 8 * y);
    return pixels;
}

inline PixelTile filled_tile(std::uint8_t value) {
    PixelTile pixels;
    pixels.fill(value);
    return pixels;
}

inline PixelTile random_tile(std::mt19937& engine) {
    PixelTile pixels;
    for (auto& p : pixels) {
        p = static_cast<std::uint8_t>(engine());
    }
    return pixels;
}

// Encodes into a buffer of exactly one tile, first filled with `junk`: the result must
// not depend on what the buffer held.
inline std::vector<std::uint8_t> encode_tile(TileFormat format, const PixelTile& pixels,
                                             std::uint8_t junk = 0xA5) {
    std::vector<std::uint8_t> tile(tile_size(format.depth), junk);
    encoder_for(format)(pixels, tile);
    return tile;
}

inline PixelTile decode_tile(TileFormat format, const std::vector<std::uint8_t>& tile) {
    PixelTile pixels;
    pixels.fill(0xA5);
    decoder_for(format)(tile, pixels);
    return pixels;
}

inline std::vector<std::uint8_t> bytes_with(
    std::size_t size, std::initializer_list<std::pair<std::size_t, std::uint8_t>> set) {
    std::vector<std::uint8_t> bytes(size, 0);
    for (const auto& [offset, value] : set) {
        bytes[offset] = value;
    }
    return bytes;
}

inline PixelTile modulo_depth(PixelTile pixels, std::uint32_t depth) {
    for (auto& p : pixels) {
        p = static_cast<std::uint8_t>(p & ((1u << depth) - 1));
    }
    return pixels;
}

// All-zero and all-one tiles in `format`: zero bytes are zero pixels and back; all-one
// bytes are pixels of the largest value, and pixels 0xFF encode to all-one bytes.
inline void expect_uniform_tiles(TileFormat format) {
    const std::size_t size = tile_size(format.depth);
    using Bytes = std::vector<std::uint8_t>;
    EXPECT_EQ(decode_tile(format, Bytes(size, 0)), filled_tile(0));
    EXPECT_EQ(encode_tile(format, filled_tile(0)), Bytes(size, 0));
    EXPECT_EQ(decode_tile(format, Bytes(size, 0xFF)),
              filled_tile(static_cast<std::uint8_t>((1u << format.depth) - 1)));
    EXPECT_EQ(encode_tile(format, filled_tile(0xFF)), Bytes(size, 0xFF));
}

// 2,000 seeded random tiles in `format`: encoding pixels matches the per-bit reference and
// decodes back to the pixels modulo the depth; random tile bytes decode as the reference
// does and encode back to themselves.
inline void expect_random_tiles_round_trip(TileFormat format, std::mt19937& engine) {
    for (int i = 0; i < 2000; ++i) {
        const PixelTile pixels = random_tile(engine);
        const std::vector<std::uint8_t> encoded =
            encode_tile(format, pixels, static_cast<std::uint8_t>(i));
        EXPECT_EQ(encoded, oracle::encode(format, pixels)) << "depth " << format.depth;
        EXPECT_EQ(decode_tile(format, encoded), modulo_depth(pixels, format.depth));

        std::vector<std::uint8_t> tile(tile_size(format.depth));
        for (auto& b : tile) {
            b = static_cast<std::uint8_t>(engine());
        }
        const PixelTile decoded = decode_tile(format, tile);
        EXPECT_EQ(decoded, oracle::decode(format, tile.data())) << "depth " << format.depth;
        EXPECT_EQ(encode_tile(format, decoded), tile) << "depth " << format.depth;
    }
}

}  // namespace tilvex::testing
