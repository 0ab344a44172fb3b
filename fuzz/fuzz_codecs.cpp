// The tile codecs on arbitrary bytes, at every depth and layout and on every path:
// decode then encode gives back the tile, encode then decode gives each pixel modulo
// 2^depth, and every path agrees with the plain per-bit reference byte for byte.
//
// Input: one byte choosing the format, then the tile bytes, then pixel bytes.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz_check.hpp"
#include "oracle.hpp"
#include "tile/block_convert.hpp"
#include "tile/tile_codec.hpp"

using namespace tilvex;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr TileFormat kPixelTile{8, kLinear};

Bytes take(const std::uint8_t*& data, std::size_t& size, std::size_t count) {
    Bytes bytes(count, 0);
    const std::size_t available = std::min(size, count);
    std::copy_n(data, available, bytes.begin());
    data += available;
    size -= available;
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const TileFormat format = kAllFormats[data[0] % kFormatCount];
    ++data;
    --size;
    const std::uint32_t depth = format.depth;
    const Bytes tile = take(data, size, tile_size(depth));
    const Bytes pixel_bytes = take(data, size, kPixelsPerTile);
    PixelTile pixels;
    std::copy(pixel_bytes.begin(), pixel_bytes.end(), pixels.begin());

    const PixelTile reference_decoded = oracle::decode(format, tile.data());
    const Bytes reference_encoded = oracle::encode(format, pixels);
    PixelTile modulo = pixels;
    for (auto& p : modulo) {
        p = static_cast<std::uint8_t>(p & ((1u << depth) - 1));
    }

    // The per-tile codecs.
    PixelTile decoded;
    decoder_for(format)(tile, decoded);
    FUZZ_CHECK(decoded == reference_decoded);
    Bytes encoded(tile.size());
    encoder_for(format)(decoded, encoded);
    FUZZ_CHECK(encoded == tile);
    encoder_for(format)(pixels, encoded);
    FUZZ_CHECK(encoded == reference_encoded);
    decoder_for(format)(encoded, decoded);
    FUZZ_CHECK(decoded == modulo);

    // Every block path, through 8-bpp linear, which is the PixelTile itself.
    for (const CodecPath path : kAllCodecPaths) {
        if (!is_path_available(path)) {
            continue;
        }
        Bytes block_decoded(kPixelsPerTile);
        block_converter_for(format, kPixelTile, path)(tile.data(), block_decoded.data(), 1, 0);
        FUZZ_CHECK(
            std::equal(block_decoded.begin(), block_decoded.end(), reference_decoded.begin()));
        Bytes block_encoded(tile.size());
        block_converter_for(kPixelTile, format, path)(block_decoded.data(), block_encoded.data(), 1,
                                                      0);
        FUZZ_CHECK(block_encoded == tile);
        block_converter_for(kPixelTile, format, path)(pixel_bytes.data(), block_encoded.data(), 1,
                                                      0);
        FUZZ_CHECK(block_encoded == reference_encoded);
    }
    return 0;
}
