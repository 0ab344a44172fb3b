// Every codec path against the per-bit reference: all 64 format pairs over seeded random
// tiles and offsets, tile by tile, with the output buffer's previous content and the
// bytes around it checked to play no part.
#include <gtest/gtest.h>

#include "oracle.hpp"
#include "test_support.hpp"
#include "tile/block_convert.hpp"

namespace tilvex {
namespace {

using testing::Bytes;

class BlockConvertTest : public ::testing::TestWithParam<CodecPath> {
  protected:
    void SetUp() override {
        if (!is_path_available(GetParam())) {
            GTEST_SKIP() << path_name(GetParam()) << " is not available on this build or CPU";
        }
    }
};

TEST_P(BlockConvertTest, EveryPairMatchesTheReference) {
    constexpr std::size_t kTiles = 97;
    std::uint32_t seed = 1;
    for (const TileFormat from : kAllFormats) {
        for (const TileFormat to : kAllFormats) {
            for (const std::uint8_t offset : {0x00, 0x01, 0x35, 0xFF}) {
                const Bytes input = testing::random_bytes(kTiles * tile_size(from.depth), seed++);
                const std::size_t out_size = kTiles * tile_size(to.depth);
                // Guard bytes on both sides of the output must survive.
                Bytes output(out_size + 128, 0xC3);
                block_converter_for(from, to, GetParam())(input.data(), output.data() + 64, kTiles,
                                                          offset);
                const Bytes expected = oracle::convert(from, to, offset, input);
                const Bytes produced(output.begin() + 64,
                                     output.begin() + 64 + static_cast<long>(out_size));
                ASSERT_EQ(produced, expected)
                    << from.depth << "/" << from.layout << " -> " << to.depth << "/" << to.layout
                    << " offset " << int{offset};
                for (std::size_t i = 0; i < 64; ++i) {
                    ASSERT_EQ(output[i], 0xC3);
                    ASSERT_EQ(output[64 + out_size + i], 0xC3);
                }
            }
        }
    }
}

TEST_P(BlockConvertTest, ExactSizeBuffersAreNeverOverrun) {
    // Buffers of exactly one tile on the heap: the sanitizers catch any access past them.
    for (const TileFormat from : kAllFormats) {
        for (const TileFormat to : kAllFormats) {
            const Bytes input = testing::random_bytes(tile_size(from.depth), 77);
            Bytes output(tile_size(to.depth));
            block_converter_for(from, to, GetParam())(input.data(), output.data(), 1, 0x10);
            EXPECT_EQ(output, oracle::convert(from, to, 0x10, input));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, BlockConvertTest, ::testing::ValuesIn(kAllCodecPaths),
                         [](const ::testing::TestParamInfo<CodecPath>& path) {
                             return path.param == CodecPath::portable ? "portable" : "avx512";
                         });

}  // namespace
}  // namespace tilvex
