// The conversion loop on real files: tile count and size rule, the zero-filled short
// final tile, the color offset, multi-block inputs, and read and write failures.
#include <gtest/gtest.h>

#include "app/conversion_loop.hpp"
#include "oracle.hpp"
#include "test_support.hpp"

namespace tilvex {
namespace {

using testing::Bytes;
using testing::random_bytes;
using testing::read_file;
using testing::ScratchDir;
using testing::write_file;

constexpr TileFormat k8Linear{8, kLinear};
constexpr TileFormat k4Planar{4, kPlanar};
constexpr TileFormat k2Planar{2, kPlanar};

struct Converted {
    Failure failure;
    Bytes output;
};

Converted convert_file(TileFormat input, TileFormat output, std::uint32_t offset,
                       const Bytes& bytes) {
    ScratchDir dir;
    write_file(dir / "in.bin", bytes);
    ConversionSettings settings{input, output, offset, std::fopen((dir / "in.bin").c_str(), "rb"),
                                std::fopen((dir / "out.bin").c_str(), "wb")};
    const Failure failure = convert_tiles(settings);
    return {failure, read_file(dir / "out.bin")};
}

TEST(ConvertTiles, EmptyInputGivesEmptyOutput) {
    const Converted converted = convert_file(k4Planar, k8Linear, 0x10, {});
    EXPECT_EQ(converted.failure, Failure::none);
    EXPECT_TRUE(converted.output.empty());
}

TEST(ConvertTiles, EightBitLinearCopiesWholeTilesWithOffsetZero) {
    const Bytes input = random_bytes(64 * 5, 1);
    const Converted converted = convert_file(k8Linear, k8Linear, 0, input);
    EXPECT_EQ(converted.failure, Failure::none);
    EXPECT_EQ(converted.output, input);
}

TEST(ConvertTiles, ColorOffsetWrapsModulo256) {
    Bytes input(64, 0);
    input[0] = 1;
    input[1] = 0;
    input[2] = 0xFF;
    const Converted converted = convert_file(k8Linear, k8Linear, 0xFF, input);
    ASSERT_EQ(converted.output.size(), 64u);
    EXPECT_EQ(converted.output[0], 0);
    EXPECT_EQ(converted.output[1], 0xFF);
    EXPECT_EQ(converted.output[2], 0xFE);
}

TEST(ConvertTiles, ColorOffsetIsAddedBeforeEncoding) {
    // 3 + 1 = 4 has no bit in the low two, so every plane byte is zero.
    const Converted converted = convert_file(k8Linear, k2Planar, 1, Bytes(64, 3));
    EXPECT_EQ(converted.output, Bytes(16, 0));
}

TEST(ConvertTiles, ShortFinalTileIsCompletedWithZerosAndOffsetOnce) {
    const Bytes input = random_bytes(65, 2);
    const Converted converted = convert_file(k8Linear, k8Linear, 0x10, input);
    ASSERT_EQ(converted.output.size(), 128u);
    for (std::size_t i = 0; i < 65; ++i) {
        EXPECT_EQ(converted.output[i], static_cast<std::uint8_t>(input[i] + 0x10)) << i;
    }
    for (std::size_t i = 65; i < 128; ++i) {
        EXPECT_EQ(converted.output[i], 0x10) << i;  // zero pixel plus the offset, added once
    }
}

TEST(ConvertTiles, ShortTileDecodesAsIfPaddedWithZeros) {
    // 37 bytes of 4-bpp planar: the second tile is 5 bytes and 27 zeros.
    const Bytes input = random_bytes(37, 3);
    Bytes padded_second(input.begin() + 32, input.end());
    padded_second.resize(32, 0);
    const Converted converted = convert_file(k4Planar, k8Linear, 0, input);
    ASSERT_EQ(converted.output.size(), 128u);
    const PixelTile second = oracle::decode_planar(4, padded_second.data());
    EXPECT_TRUE(std::equal(second.begin(), second.end(), converted.output.begin() + 64));
}

TEST(ConvertTiles, OutputSizeIsTileCountRoundedUpTimesOutputTileSize) {
    struct Case {
        TileFormat input;
        TileFormat output;
        std::size_t input_size;
        std::size_t output_size;
    };
    const Case cases[] = {
        {k4Planar, {2, kLinear}, 64, 32}, {k4Planar, {2, kPlanar}, 64, 32},
        {k4Planar, k8Linear, 65, 192},    {k4Planar, k8Linear, 95, 192},
        {k4Planar, k8Linear, 96, 192},    {k4Planar, {3, kPlanar}, 1, 24},
        {k8Linear, {3, kLinear}, 64, 24}, {{3, kLinear}, k8Linear, 47, 128},
    };
    for (const Case& c : cases) {
        const Converted converted =
            convert_file(c.input, c.output, 0, random_bytes(c.input_size, 4));
        EXPECT_EQ(converted.failure, Failure::none);
        EXPECT_EQ(converted.output.size(), c.output_size) << c.input_size;
    }
}

TEST(ConvertTiles, InputSpanningManyBlocksMatchesTheReference) {
    // Several read blocks and a short final tile.
    const Bytes input = random_bytes(kBlockTiles * 24 * 2 + 24 * 7 + 5, 5);
    const TileFormat from{3, kPlanar};
    const TileFormat to{4, kLinear};
    const Converted converted = convert_file(from, to, 0x21, input);
    EXPECT_EQ(converted.failure, Failure::none);
    EXPECT_EQ(converted.output, oracle::convert(from, to, 0x21, input));
}

TEST(ConvertTiles, ReadFailureIsReported) {
    ScratchDir dir;
    ConversionSettings settings{k8Linear, k8Linear, 0, std::fopen(dir.path().c_str(), "rb"),
                                std::fopen((dir / "out.bin").c_str(), "wb")};
    ASSERT_NE(settings.input_stream, nullptr);
    EXPECT_EQ(convert_tiles(settings), Failure::cannot_read_file);
}

TEST(ConvertTiles, WriteFailureIsReported) {
    // Unbuffered, the write itself fails; buffered, the failure surfaces at the close.
    for (const bool buffered : {false, true}) {
        ScratchDir dir;
        write_file(dir / "in.bin", random_bytes(64, 6));
        std::FILE* full = std::fopen("/dev/full", "wb");
        if (full == nullptr) {
            GTEST_SKIP() << "no /dev/full here";
        }
        if (!buffered) {
            std::setvbuf(full, nullptr, _IONBF, 0);
        }
        ConversionSettings settings{k8Linear, k8Linear, 0,
                                    std::fopen((dir / "in.bin").c_str(), "rb"), full};
        EXPECT_EQ(convert_tiles(settings), Failure::cannot_write_file)
            << (buffered ? "buffered" : "unbuffered");
    }
}

TEST(AddColorOffset, AddsToEveryPixelModulo256) {
    PixelTile pixels;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>(i * 4);
    }
    add_color_offset(pixels, 0x80);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        EXPECT_EQ(pixels[i], static_cast<std::uint8_t>(i * 4 + 0x80));
    }
}

}  // namespace
}  // namespace tilvex
