// Throughput of the block kernels in memory, per path: every decoder (into 8-bpp linear,
// the PixelTile itself), every encoder (from 8-bpp linear) and every one of the 64 pairs.
// Bytes per second count the input bytes.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "app/conversion_loop.hpp"
#include "tile/block_convert.hpp"

namespace {

using namespace tilvex;

constexpr std::size_t kTiles = kBlockTiles;  // one read block, as the tool converts it

std::string format_name(TileFormat format) {
    return std::to_string(format.depth) + (format.layout == kPlanar ? "p" : "l");
}

void convert_pair(benchmark::State& state, CodecPath path, TileFormat from, TileFormat to) {
    std::vector<std::uint8_t> input(kTiles * tile_size(from.depth));
    std::vector<std::uint8_t> output(kTiles * tile_size(to.depth));
    std::mt19937 engine(1);
    for (auto& byte : input) {
        byte = static_cast<std::uint8_t>(engine());
    }
    const BlockConverter convert = block_converter_for(from, to, path);
    for (auto _ : state) {
        convert(input.data(), output.data(), kTiles, 0x10);
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
    state.counters["ns_per_tile"] = benchmark::Counter(
        static_cast<double>(state.iterations() * kTiles), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void register_all() {
    constexpr TileFormat kPixelTile{8, kLinear};
    for (const CodecPath path : kAllCodecPaths) {
        if (!is_path_available(path)) {
            continue;
        }
        const std::string prefix = std::string(path_name(path)) + "/";
        for (const TileFormat format : kAllFormats) {
            benchmark::RegisterBenchmark((prefix + "decode/" + format_name(format)).c_str(), convert_pair, path,
                                         format, kPixelTile);
            benchmark::RegisterBenchmark((prefix + "encode/" + format_name(format)).c_str(), convert_pair, path,
                                         kPixelTile, format);
        }
        for (const TileFormat from : kAllFormats) {
            for (const TileFormat to : kAllFormats) {
                benchmark::RegisterBenchmark((prefix + "pair/" + format_name(from) + "-" + format_name(to)).c_str(),
                                             convert_pair, path, from, to);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    register_all();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
