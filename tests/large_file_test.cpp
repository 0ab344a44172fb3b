// An input larger than 4 GiB: no size or offset wraps at 32 bits. The input is a sparse
// file, so it takes no disk space; the output is a quarter of its size.
#include <unistd.h>

#include <gtest/gtest.h>

#include "oracle.hpp"
#include "test_support.hpp"
#include "tool_runner.hpp"

namespace tilvex {
namespace {

using namespace testing;

TEST(LargeFile, InputBeyondFourGibibytesConvertsCompletely) {
    ScratchDir dir;
    constexpr std::uint64_t kHoleEnd = std::uint64_t{1} << 32;  // 4 GiB of zeros first
    const Bytes tail = random_bytes(64 + 100, 31);              // then a tile, a tile, a short tile
    {
        std::FILE* file = std::fopen((dir / "in.bin").c_str(), "wb");
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(ftruncate(fileno(file), static_cast<off_t>(kHoleEnd - 64)), 0);
        ASSERT_EQ(fseeko(file, static_cast<off_t>(kHoleEnd - 64), SEEK_SET), 0);
        ASSERT_EQ(std::fwrite(tail.data(), 1, tail.size(), file), tail.size());
        ASSERT_EQ(std::fclose(file), 0);
    }
    const ToolRun run = run_tool(dir, "8l 2p in.bin out.bin 1");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "");

    const std::uint64_t input_size = kHoleEnd + 100;
    const std::uint64_t tiles = (input_size + 63) / 64;
    ASSERT_EQ(std::filesystem::file_size(dir / "out.bin"), tiles * 16);

    // The last three output tiles come from the tail; the one before from zeros.
    std::FILE* out = std::fopen((dir / "out.bin").c_str(), "rb");
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(fseeko(out, static_cast<off_t>((tiles - 4) * 16), SEEK_SET), 0);
    Bytes last(64);
    ASSERT_EQ(std::fread(last.data(), 1, last.size(), out), last.size());
    std::fclose(out);
    Bytes expected = oracle::convert({8, kLinear}, {2, kPlanar}, 1, Bytes(64, 0));
    const Bytes from_tail = oracle::convert({8, kLinear}, {2, kPlanar}, 1, tail);
    expected.insert(expected.end(), from_tail.begin(), from_tail.end());
    EXPECT_EQ(last, expected);
}

}  // namespace
}  // namespace tilvex
