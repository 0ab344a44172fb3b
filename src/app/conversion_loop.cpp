#include "app/conversion_loop.hpp"

#include <algorithm>

#include "tile/block_convert.hpp"

namespace tilvex {
namespace {

// The loop's two block buffers, allocated once for the life of the process: memory stays
// the same whatever the size of the input.
alignas(64) std::uint8_t input_block[kBlockTiles * kMaxTileSize];
alignas(64) std::uint8_t output_block[kBlockTiles * kMaxTileSize];

}  // namespace

void convert_block(TileFormat input_format, TileFormat output_format, std::uint8_t color_offset,
                   std::span<const std::uint8_t> input, std::span<std::uint8_t> output,
                   std::size_t tile_count) {
    const BlockConverter convert = block_converter_for(input_format, output_format, fastest_path());
    convert(input.data(), output.data(), tile_count, color_offset);
}

Failure convert_tiles(ConversionSettings settings) {
    const std::size_t input_tile_size = tile_size(settings.input_format.depth);
    const std::size_t output_tile_size = tile_size(settings.output_format.depth);
    const std::size_t block_size = kBlockTiles * input_tile_size;
    const auto color_offset = static_cast<std::uint8_t>(settings.color_offset);

    const BlockConverter convert =
        block_converter_for(settings.input_format, settings.output_format, fastest_path());

    Failure failure = Failure::none;
    while (!std::feof(settings.input_stream)) {
        // fread keeps reading until the block is full, the input ends or a read fails.
        const std::size_t read = std::fread(input_block, 1, block_size, settings.input_stream);
        if (std::ferror(settings.input_stream)) {
            failure = Failure::cannot_read_file;
            break;
        }
        if (read == 0) {
            break;
        }
        // A short final tile is completed with zeros: nothing of another tile leaks into it.
        const std::size_t tile_count = (read + input_tile_size - 1) / input_tile_size;
        std::fill(input_block + read, input_block + tile_count * input_tile_size, 0);

        const std::size_t output_size = tile_count * output_tile_size;
        convert(input_block, output_block, tile_count, color_offset);
        if (std::fwrite(output_block, 1, output_size, settings.output_stream) != output_size) {
            failure = Failure::cannot_write_file;
            break;
        }
    }
    std::fclose(settings.input_stream);
    // Closing flushes whatever the system still holds back; a failure there loses data too.
    if (std::fclose(settings.output_stream) != 0 && failure == Failure::none) {
        failure = Failure::cannot_write_file;
    }
    return failure;
}

}  // namespace tilvex
