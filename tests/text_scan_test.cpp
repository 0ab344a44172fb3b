// Mode arguments and the scanf-like conversions of numbers and words.
#include <sstream>

#include <gtest/gtest.h>

#include "app/parameter_entry.hpp"
#include "app/text_scan.hpp"

namespace tilvex {
namespace {

TEST(ParseModeArgument, ReadsDepthDigitAndLayoutLetterOnly) {
    struct Case {
        const char* text;
        std::uint32_t depth;
        std::uint32_t layout;
    };
    const Case cases[] = {
        {"4p", 4, kPlanar},
        {"4P", 4, kPlanar},
        {"2l", 2, kLinear},
        {"8L", 8, kLinear},
        {"3p", 3, kPlanar},
        {"4planar", 4, kPlanar},
        {"8linear", 8, kLinear},
        {"4", 4, kUnrecognised},
        {"5p", kUnrecognised, kPlanar},
        {"1p", kUnrecognised, kPlanar},
        {"p4", kUnrecognised, kUnrecognised},
        {" 4p", kUnrecognised, kUnrecognised},
        {"", kUnrecognised, kUnrecognised},
        {"4x", 4, kUnrecognised},
        {"16p", kUnrecognised, kUnrecognised},
    };
    for (const Case& c : cases) {
        const TileFormat format = parse_mode_argument(c.text);
        EXPECT_EQ(format.depth, c.depth) << '"' << c.text << '"';
        EXPECT_EQ(format.layout, c.layout) << '"' << c.text << '"';
    }
}

TEST(ScanHex, FollowsTheHexConversionRules) {
    struct Case {
        const char* text;
        std::optional<std::uint32_t> value;
    };
    const Case cases[] = {
        {"ff", 0xFF},
        {"FF", 0xFF},
        {"0x10", 0x10},
        {"0X10", 0x10},
        {"10", 0x10},
        {"1fzz", 0x1F},
        {"  \t7", 7},
        {"+a", 0xA},
        {"-0", 0},
        {"0x", 0},
        {"0xg", 0},
        {"100", 0x100},
        {"-1", 0xFFFFFFFF},
        {"-ff", 0xFFFFFFFF},
        // Too large for 32 bits: never wraps into a small value.
        {"100000010", 0xFFFFFFFF},
        {"ffffffffffffffffffff01", 0xFFFFFFFF},
        {"zz", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"x10", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scan_hex(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(ReadDecimal, TakesOnlyTheNumberAndLeavesTheRest) {
    std::istringstream in("  4x\n-1 +3 4294967298 2147483648 0 -0 --2 z");
    EXPECT_EQ(read_decimal(in), 4u);
    EXPECT_EQ(in.peek(), 'x');
    in.get();
    EXPECT_EQ(read_decimal(in), kUnrecognised);  // negative
    EXPECT_EQ(read_decimal(in), 3u);
    EXPECT_EQ(read_decimal(in), kUnrecognised);  // 2^32 + 2 must not wrap to 2
    EXPECT_EQ(read_decimal(in), 2147483648u);    // fits 32 bits, still no valid depth
    EXPECT_EQ(read_decimal(in), 0u);
    EXPECT_EQ(read_decimal(in), 0u);
    EXPECT_EQ(read_decimal(in), std::nullopt);  // "--2"
}

TEST(ReadDecimal, EndOfInputYieldsNoValue) {
    std::istringstream in("   \n\t");
    EXPECT_EQ(read_decimal(in), std::nullopt);
}

TEST(ReadWord, SplitsOnAnyWhitespaceAndKeepsLongWordsWhole) {
    const std::string long_name(5000, 'n');
    std::istringstream in("my tiles.bin\n\t" + long_name + "\v\fx\r");
    EXPECT_EQ(read_word(in), "my");
    EXPECT_EQ(read_word(in), "tiles.bin");
    EXPECT_EQ(read_word(in), long_name);
    EXPECT_EQ(read_word(in), "x");
    EXPECT_EQ(read_word(in), std::nullopt);
}

TEST(ReadHex, ReadsFromAStream) {
    std::istringstream in(" 1f rest");
    EXPECT_EQ(read_hex(in), 0x1Fu);
    std::istringstream empty("");
    EXPECT_EQ(read_hex(empty), std::nullopt);
}

}  // namespace
}  // namespace tilvex
