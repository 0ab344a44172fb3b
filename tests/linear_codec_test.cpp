// The linear codecs at 2, 3 and 4 bpp: golden rows, the straddling 3-bpp pixels,
// masking, round trips, and agreement with the per-bit reference.
#include <random>

#include <gtest/gtest.h>

#include "codec_test_support.hpp"
#include "oracle.hpp"
#include "tile/linear_codec.hpp"

namespace tilvex {
namespace {

using namespace testing;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kDepths[] = {2, 3, 4};

TileFormat linear(std::uint32_t depth) {
    return {depth, kLinear};
}

// A tile whose row `y` holds `row_bytes` and every other byte is zero.
Bytes tile_with_row_bytes(std::uint32_t depth, std::uint32_t y, const Bytes& row_bytes) {
    Bytes tile(tile_size(depth), 0);
    std::copy(row_bytes.begin(), row_bytes.end(), tile.begin() + depth * y);
    return tile;
}

struct RowCase {
    std::uint32_t depth;
    Row pixels;
    Bytes bytes;
};

TEST(LinearCodec, WorkedRowsAtEveryRow) {
    const RowCase cases[] = {
        {2, {0, 1, 2, 3, 3, 2, 1, 0}, {0x1B, 0xE4}},
        {2, {3, 2, 1, 0, 0, 1, 2, 3}, {0xE4, 0x1B}},
        {3, {0, 1, 2, 3, 4, 5, 6, 7}, {0x05, 0x39, 0x77}},
        {3, {7, 6, 5, 4, 3, 2, 1, 0}, {0xFA, 0xC6, 0x88}},
        {3, {5, 5, 5, 5, 5, 5, 5, 5}, {0xB6, 0xDB, 0x6D}},
        {4, {0, 1, 2, 3, 4, 5, 6, 7}, {0x01, 0x23, 0x45, 0x67}},
        {4, {8, 9, 10, 11, 12, 13, 14, 15}, {0x89, 0xAB, 0xCD, 0xEF}},
        // The straddling 3-bpp pixels in columns 2 and 5.
        {3, {0, 0, 7, 0, 0, 0, 0, 0}, {0x03, 0x80, 0x00}},
        {3, {0, 0, 0, 0, 0, 7, 0, 0}, {0x00, 0x01, 0xC0}},
        {3, {0, 0, 4, 0, 0, 1, 0, 0}, {0x02, 0x00, 0x40}},
    };
    for (const RowCase& c : cases) {
        for (std::uint32_t y = 0; y < 8; ++y) {
            const Bytes tile = tile_with_row_bytes(c.depth, y, c.bytes);
            const PixelTile pixels = tile_with_row(y, c.pixels);
            EXPECT_EQ(encode_tile(linear(c.depth), pixels), tile)
                << "depth " << c.depth << " row " << y;
            EXPECT_EQ(decode_tile(linear(c.depth), tile), pixels)
                << "depth " << c.depth << " row " << y;
        }
    }
}

TEST(LinearCodec, BitsAboveTheDepthNeverReachANeighbour) {
    const RowCase cases[] = {
        {2, {0, 1, 2, 3, 4, 5, 6, 7}, {0x1B, 0x1B}},
        {4, {0x10, 0x1F, 0xFF, 0x80, 7, 8, 0x0F, 0xF0}, {0x0F, 0xF0, 0x78, 0xF0}},
        {3, {8, 8, 8, 8, 8, 8, 8, 8}, {0x00, 0x00, 0x00}},
        {3, {0xF8, 0xFF, 0xF8, 0xF8, 0xF8, 0xFF, 0xF8, 0xF8}, {0x1C, 0x01, 0xC0}},
    };
    for (const RowCase& c : cases) {
        EXPECT_EQ(encode_tile(linear(c.depth), tile_with_row(4, c.pixels)),
                  tile_with_row_bytes(c.depth, 4, c.bytes))
            << "depth " << c.depth;
    }
}

TEST(LinearCodec, UniformTiles) {
    for (const std::uint32_t depth : kDepths) {
        expect_uniform_tiles(linear(depth));
    }
}

TEST(LinearCodec, RandomTilesRoundTripAndMatchTheReference) {
    std::mt19937 engine(4096);
    for (const std::uint32_t depth : kDepths) {
        expect_random_tiles_round_trip(linear(depth), engine);
    }
}

TEST(LinearCodec, EightBppLinearIsThePixelTile) {
    std::mt19937 engine(8);
    const PixelTile pixels = random_tile(engine);
    const Bytes bytes(pixels.begin(), pixels.end());
    EXPECT_EQ(encode_tile(linear(8), pixels), bytes);
    EXPECT_EQ(decode_tile(linear(8), bytes), pixels);
    EXPECT_EQ(bytes, oracle::encode_linear(8, pixels));
}

}  // namespace
}  // namespace tilvex
