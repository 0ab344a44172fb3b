// The planar codecs at 2, 3, 4 and 8 bpp: golden rows and tiles, the byte positions that
// pin the plane offsets, masking, round trips, and agreement with the per-bit reference.
#include <random>

#include <gtest/gtest.h>

#include "app/conversion_loop.hpp"
#include "codec_test_support.hpp"
#include "oracle.hpp"
#include "test_support.hpp"
#include "tile/planar_codec.hpp"

namespace tilvex {
namespace {

using namespace testing;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kDepths[] = {2, 3, 4, 8};

TileFormat planar(std::uint32_t depth) {
    return {depth, kPlanar};
}

TEST(PlanarCodec, WorkedRowsLandAtTheirPlaneOffsets) {
    struct Case {
        std::uint32_t depth;
        std::uint32_t row;
        Row pixels;
        std::vector<std::pair<std::size_t, std::uint8_t>> bytes;  // offset, value
    };
    const Case cases[] = {
        {2, 0, {0, 1, 2, 3, 0, 1, 2, 3}, {{0, 0x55}, {1, 0x33}}},
        {3, 2, {0, 1, 2, 3, 4, 5, 6, 7}, {{4, 0x55}, {5, 0x33}, {18, 0x0F}}},
        {4, 1, {0, 1, 2, 3, 4, 5, 6, 7}, {{2, 0x55}, {3, 0x33}, {18, 0x0F}, {19, 0x00}}},
        {4, 5, {8, 4, 2, 6, 1, 5, 3, 15}, {{10, 0x0F}, {11, 0x33}, {26, 0x55}, {27, 0x81}}},
        {8,
         0,
         {0x18, 4, 2, 6, 1, 5, 3, 0x8F},
         {{0, 0x0F}, {1, 0x33}, {16, 0x55}, {17, 0x81}, {32, 0x80}, {33, 0}, {48, 0}, {49, 0x01}}},
    };
    for (const Case& c : cases) {
        Bytes expected(tile_size(c.depth), 0);
        for (const auto& [offset, value] : c.bytes) {
            expected[offset] = value;
        }
        const PixelTile pixels = tile_with_row(c.row, c.pixels);
        EXPECT_EQ(encode_tile(planar(c.depth), pixels), expected) << "depth " << c.depth;
        EXPECT_EQ(decode_tile(planar(c.depth), expected), pixels) << "depth " << c.depth;
    }
}

Bytes repeat(std::initializer_list<std::uint8_t> pattern, std::size_t times) {
    Bytes bytes;
    for (std::size_t i = 0; i < times; ++i) {
        bytes.insert(bytes.end(), pattern);
    }
    return bytes;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes bytes;
    for (const Bytes& part : parts) {
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

TEST(PlanarCodec, WorkedTilesOfCountingPixels) {
    // Pixel (y, x) holds (8y + x) modulo 2^depth.
    const Bytes planes01 = repeat({0x55, 0x33}, 8);
    const Bytes planes23 = repeat({0x0F, 0x00, 0x0F, 0xFF}, 4);
    const std::pair<std::uint32_t, Bytes> cases[] = {
        {2, planes01},
        {3, concat({planes01, repeat({0x0F}, 8)})},
        {4, concat({planes01, planes23})},
        {8, concat({planes01,
                    planes23,
                    {0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
                    repeat({0}, 16)})},
    };
    for (const auto& [depth, expected] : cases) {
        PixelTile counting;
        for (std::size_t i = 0; i < counting.size(); ++i) {
            counting[i] = static_cast<std::uint8_t>(i % (1u << depth));
        }
        EXPECT_EQ(encode_tile(planar(depth), counting), expected) << "depth " << depth;
        EXPECT_EQ(decode_tile(planar(depth), expected), counting) << "depth " << depth;
    }
}

TEST(PlanarCodec, OnePixelPinsThePlaneOffsets) {
    // Pixel (3, 1) at its depth's highest index: bit 6 (0x40) in row 3 of every plane.
    const std::pair<std::uint32_t, Bytes> cases[] = {
        {2, bytes_with(16, {{6, 0x40}, {7, 0x40}})},
        {3, bytes_with(24, {{6, 0x40}, {7, 0x40}, {19, 0x40}})},
        {4, bytes_with(32, {{6, 0x40}, {7, 0x40}, {22, 0x40}, {23, 0x40}})},
        {8, bytes_with(64, {{6, 0x40},
                            {7, 0x40},
                            {22, 0x40},
                            {23, 0x40},
                            {38, 0x40},
                            {39, 0x40},
                            {54, 0x40},
                            {55, 0x40}})},
    };
    for (const auto& [depth, expected] : cases) {
        PixelTile pixels{};
        pixels[8 * 3 + 1] = static_cast<std::uint8_t>((1u << depth) - 1);
        EXPECT_EQ(encode_tile(planar(depth), pixels), expected) << "depth " << depth;
        EXPECT_EQ(decode_tile(planar(depth), expected), pixels) << "depth " << depth;
    }
    PixelTile pixels{};
    pixels[8 * 2 + 5] = 0xA3;  // planes 0, 1, 5 and 7
    EXPECT_EQ(encode_tile(planar(8), pixels), bytes_with(64, {{4, 4}, {5, 4}, {37, 4}, {53, 4}}));
}

TEST(PlanarCodec, ThirdPlaneOfThreeBppIsNotInterleaved) {
    const Bytes only_byte_23_3bpp = bytes_with(24, {{23, 0x80}});
    PixelTile expected3{};
    expected3[8 * 7] = 4;
    EXPECT_EQ(decode_tile(planar(3), only_byte_23_3bpp), expected3);

    const Bytes only_byte_23_4bpp = bytes_with(32, {{23, 0x80}});
    PixelTile expected4{};
    expected4[8 * 3] = 8;
    EXPECT_EQ(decode_tile(planar(4), only_byte_23_4bpp), expected4);
}

TEST(PlanarCodec, TopPlaneOfEightBpp) {
    PixelTile expected{};
    std::fill(expected.begin() + 56, expected.end(), 0x80);
    EXPECT_EQ(decode_tile(planar(8), bytes_with(64, {{63, 0xFF}})), expected);
}

TEST(PlanarCodec, UniformTiles) {
    for (const std::uint32_t depth : kDepths) {
        expect_uniform_tiles(planar(depth));
    }
}

TEST(PlanarCodec, BitsAboveTheDepthAreDropped) {
    PixelTile one_pixel{};
    one_pixel[0] = 0x1F;
    EXPECT_EQ(encode_tile(planar(2), one_pixel), bytes_with(16, {{0, 0x80}, {1, 0x80}}));
    EXPECT_EQ(encode_tile(planar(2), filled_tile(0x04)), Bytes(16, 0));
    EXPECT_EQ(encode_tile(planar(3), filled_tile(0x0D)),
              concat({repeat({0xFF, 0x00}, 8), repeat({0xFF}, 8)}));
    EXPECT_EQ(encode_tile(planar(8), filled_tile(0xA5)),
              concat({repeat({0xFF, 0x00}, 16), repeat({0x00, 0xFF}, 16)}));
}

TEST(PlanarCodec, RandomTilesRoundTripAndMatchTheReference) {
    std::mt19937 engine(2024);
    for (const std::uint32_t depth : kDepths) {
        expect_random_tiles_round_trip(planar(depth), engine);
    }
}

}  // namespace
}  // namespace tilvex

namespace tilvex {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes convert_planar(std::uint32_t from, std::uint32_t to, const Bytes& input) {
    const std::size_t tiles = input.size() / tile_size(from);
    Bytes output(tiles * tile_size(to), 0xEE);
    convert_block({from, kPlanar}, {to, kPlanar}, 0, input, output, tiles);
    return output;
}

TEST(PlanarToPlanar, KeepsTheLowPlanesAndAddsZeroPlanes) {
    const Bytes two = testing::random_bytes(16 * 3, 31);
    const Bytes three = testing::random_bytes(24 * 3, 32);
    const Bytes four = testing::random_bytes(32 * 3, 33);
    const Bytes eight = testing::random_bytes(64 * 3, 34);

    // Each output tile from a given input tile, built from the layout rules by hand.
    auto per_tile = [](const Bytes& input, std::size_t in_size, auto make_tile) {
        Bytes expected;
        for (std::size_t start = 0; start < input.size(); start += in_size) {
            const Bytes tile = make_tile(&input[start]);
            expected.insert(expected.end(), tile.begin(), tile.end());
        }
        return expected;
    };
    auto first = [](std::size_t n) {
        return [n](const std::uint8_t* t) { return Bytes(t, t + n); };
    };
    auto padded = [](std::size_t extra) {
        return [extra](const std::uint8_t* t) {
            Bytes tile(t, t + 16);
            tile.resize(16 + extra, 0);
            return tile;
        };
    };
    EXPECT_EQ(convert_planar(3, 2, three), per_tile(three, 24, first(16)));
    EXPECT_EQ(convert_planar(4, 2, four), per_tile(four, 32, first(16)));
    EXPECT_EQ(convert_planar(8, 2, eight), per_tile(eight, 64, first(16)));
    EXPECT_EQ(convert_planar(8, 4, eight), per_tile(eight, 64, first(32)));
    EXPECT_EQ(convert_planar(2, 4, two), per_tile(two, 16, padded(16)));
    EXPECT_EQ(convert_planar(2, 8, two), per_tile(two, 16, padded(48)));
    EXPECT_EQ(convert_planar(3, 4, three), per_tile(three, 24, [](const std::uint8_t* t) {
                  Bytes tile(t, t + 16);
                  for (std::size_t y = 0; y < 8; ++y) {
                      tile.push_back(t[16 + y]);  // plane 2 of row y moves to 16 + 2y
                      tile.push_back(0);          // plane 3 is new
                  }
                  return tile;
              }));
    EXPECT_EQ(convert_planar(4, 3, four), per_tile(four, 32, [](const std::uint8_t* t) {
                  Bytes tile(t, t + 16);
                  for (std::size_t y = 0; y < 8; ++y) {
                      tile.push_back(t[16 + 2 * y]);
                  }
                  return tile;
              }));
    for (const std::uint32_t depth : {2u, 3u, 4u, 8u}) {
        const Bytes same = testing::random_bytes(tile_size(depth) * 4, depth);
        EXPECT_EQ(convert_planar(depth, depth, same), same) << "depth " << depth;
    }
}

}  // namespace
}  // namespace tilvex
