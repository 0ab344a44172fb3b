// The I/O floor of a conversion: reads the input in the same blocks as tilvex, through
// the same unbuffered streams, and writes as many output bytes as tilvex would, but
// converts nothing. tilvex's time divided by this program's is how much the conversion
// itself costs on top of the I/O.
//
// usage: tilvex-floor in-depth out-depth infile outfile
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/conversion_loop.hpp"

namespace {

alignas(64) unsigned char input_block[tilvex::kBlockTiles * tilvex::kMaxTileSize];
alignas(64) unsigned char output_block[tilvex::kBlockTiles * tilvex::kMaxTileSize];

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fputs("usage: tilvex-floor in-depth out-depth infile outfile\n", stderr);
        return 2;
    }
    const std::size_t input_tile_size = 8 * std::strtoul(argv[1], nullptr, 10);
    const std::size_t output_tile_size = 8 * std::strtoul(argv[2], nullptr, 10);
    std::FILE* input = std::fopen(argv[3], "rb");
    std::FILE* output = std::fopen(argv[4], "wb");
    if (input == nullptr || output == nullptr || input_tile_size == 0 || output_tile_size == 0) {
        return 1;
    }
    std::setvbuf(input, nullptr, _IONBF, 0);
    std::setvbuf(output, nullptr, _IONBF, 0);
    // tilvex writes from memory it has filled; an untouched buffer would map every page
    // to the system's one zero page and make the floor's writes unrealistically cheap.
    std::memset(output_block, 0x5A, sizeof output_block);
    const std::size_t block_size = tilvex::kBlockTiles * input_tile_size;
    while (!std::feof(input)) {
        const std::size_t read = std::fread(input_block, 1, block_size, input);
        if (std::ferror(input)) {
            return 1;
        }
        if (read == 0) {
            break;
        }
        const std::size_t tiles = (read + input_tile_size - 1) / input_tile_size;
        std::memset(input_block + read, 0, tiles * input_tile_size - read);
        const std::size_t output_size = tiles * output_tile_size;
        if (std::fwrite(output_block, 1, output_size, output) != output_size) {
            return 1;
        }
    }
    std::fclose(input);
    return std::fclose(output) == 0 ? 0 : 1;
}
