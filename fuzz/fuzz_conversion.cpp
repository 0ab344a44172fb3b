// A whole conversion of an arbitrary byte string, between any pair of formats and with
// any offset, through the real loop on memory streams, against the per-bit reference:
// zero-filled short final tile included. Every block path is checked on the same tiles.
//
// Input: input format, output format, offset, then the file's bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/conversion_loop.hpp"
#include "fuzz_check.hpp"
#include "oracle.hpp"
#include "tile/block_convert.hpp"

using namespace tilvex;
using Bytes = std::vector<std::uint8_t>;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const TileFormat from = kAllFormats[data[0] % kFormatCount];
    const TileFormat to = kAllFormats[data[1] % kFormatCount];
    const std::uint8_t offset = data[2];
    const Bytes file(data + 3, data + size);
    const Bytes expected = oracle::convert(from, to, offset, file);

    // Every path on the zero-padded whole tiles.
    const std::size_t in_size = tile_size(from.depth);
    const std::size_t tiles = (file.size() + in_size - 1) / in_size;
    Bytes padded = file;
    padded.resize(tiles * in_size, 0);
    for (const CodecPath path : kAllCodecPaths) {
        if (!is_path_available(path)) {
            continue;
        }
        Bytes output(tiles * tile_size(to.depth));
        block_converter_for(from, to, path)(padded.data(), output.data(), tiles, offset);
        FUZZ_CHECK(output == expected);
    }

    // The loop itself, on memory streams.
    if (file.empty()) {
        return 0;  // a memory stream can't be empty; the loop's empty case is tested elsewhere
    }
    Bytes input_copy = file;
    char* produced = nullptr;
    std::size_t produced_size = 0;
    ConversionSettings settings{from, to, offset,
                                fmemopen(input_copy.data(), input_copy.size(), "rb"),
                                open_memstream(&produced, &produced_size)};
    FUZZ_CHECK(settings.input_stream != nullptr && settings.output_stream != nullptr);
    FUZZ_CHECK(convert_tiles(settings) == Failure::none);
    FUZZ_CHECK(produced_size == expected.size());
    FUZZ_CHECK(std::memcmp(produced, expected.data(), expected.size()) == 0);
    std::free(produced);
    return 0;
}
