// The portable block kernels and the choice of path.
#include "tile/block_convert.hpp"

#include "tile/bitplane_codecs.hpp"
#include "tile/color_offset.hpp"
#include "tile/kernel_table.hpp"
#include "tile/portable_codecs.hpp"

namespace tilvex {
namespace {

// The form a portable kernel holds its tile in between decoder and encoder. Each is the
// PixelTile, arranged for the formats on either side.
enum class TileForm {
    packed,      // linear to linear, 8 bpp on neither side or on both: the pixels stay packed
    plane_pair,  // any planar to 2-bpp linear, 2-bpp linear to 2-bpp planar: planes 0, 1
    planes,      // planar out, anything but 8-bpp linear in: plane pairs in words
    plane_bits,  // planar to 3- or 4-bpp linear: tables from plane bits to packed pixels
    pixels,      // any other pair: eight rows of pixel bytes
};

template <std::uint32_t InDepth, std::uint32_t InLayout, std::uint32_t OutDepth,
          std::uint32_t OutLayout>
constexpr TileForm tile_form() {
    if (InLayout == kLinear && OutLayout == kLinear && (InDepth == 8) == (OutDepth == 8)) {
        return TileForm::packed;
    }
    if ((InLayout == kPlanar && OutLayout == kLinear && OutDepth == 2) ||
        (InLayout == kLinear && InDepth == 2 && OutLayout == kPlanar && OutDepth == 2)) {
        return TileForm::plane_pair;
    }
    if (InLayout == kPlanar && OutLayout == kLinear && (OutDepth == 3 || OutDepth == 4)) {
        return TileForm::plane_bits;
    }
    if (portable::kHasPlaneDecoder<InDepth, InLayout> && OutLayout == kPlanar) {
        return TileForm::planes;
    }
    return TileForm::pixels;
}

template <std::uint32_t InDepth, std::uint32_t InLayout, std::uint32_t OutDepth,
          std::uint32_t OutLayout>
struct PortableKernel {
    static void convert(const std::uint8_t* input, std::uint8_t* output, std::size_t count,
                        std::uint8_t offset) {
        constexpr TileForm kForm = tile_form<InDepth, InLayout, OutDepth, OutLayout>();
        if constexpr (kForm == TileForm::packed) {
            convert_packed(input, output, count, offset);
        } else if constexpr (kForm == TileForm::plane_pair) {
            convert_plane_pair(input, output, count, offset);
        } else if constexpr (kForm == TileForm::plane_bits) {
            convert_plane_bits(input, output, count, offset);
        } else if constexpr (kForm == TileForm::planes) {
            convert_as_planes(input, output, count, offset);
        } else {
            convert_as_pixels(input, output, count, offset);
        }
    }

    static void convert_packed(const std::uint8_t* input, std::uint8_t* output, std::size_t count,
                               std::uint8_t offset) {
        if constexpr (InDepth == 8) {
            copy_with_color_offset(input, output, count, offset);  // the tiles are PixelTiles
        } else if constexpr (InDepth != OutDepth) {
            const std::uint64_t addend =
                portable::row_pair_addend<(InDepth > OutDepth ? InDepth : OutDepth)>(offset);
            for (std::size_t tile = 0; tile < count; ++tile) {
                portable::resize_linear_tile<InDepth, OutDepth>(
                    input + tile * tile_size(InDepth), output + tile * tile_size(OutDepth), addend);
            }
        } else {
            const portable::LinearFields<InDepth> fields(offset);
            for (std::size_t tile = 0; tile < count; ++tile) {
                const std::size_t at = tile * tile_size(InDepth);
                fields.add_offset(input + at, output + at);
            }
        }
    }

    static void convert_plane_pair(const std::uint8_t* input, std::uint8_t* output,
                                   std::size_t count, std::uint8_t offset) {
        const std::uint64_t addend = portable::addend_of_2bit_fields(offset);
        for (std::size_t tile = 0; tile < count; ++tile) {
            const std::uint8_t* in = input + tile * tile_size(InDepth);
            std::uint8_t* out = output + tile * tile_size(OutDepth);
            if constexpr (InLayout == kPlanar) {
                portable::planar_pair_to_linear2(in, out, addend);
            } else {
                portable::linear2_to_planar_pair(in, out, addend);
            }
        }
    }

    // Two rows at a time, the offset added to the packed pixels.
    static void convert_plane_bits(const std::uint8_t* input, std::uint8_t* output,
                                   std::size_t count, std::uint8_t offset) {
        const std::uint64_t addend = portable::row_pair_addend<OutDepth>(offset);
        for (std::size_t tile = 0; tile < count; ++tile) {
            const std::uint8_t* in = input + tile * tile_size(InDepth);
            std::uint64_t pairs[4];
            for (std::uint32_t pair = 0; pair < 4; ++pair) {
                const std::uint64_t rows =
                    portable::planar_row_to_linear<InDepth, OutDepth>(in, 2 * pair)
                        << (8 * OutDepth) |
                    portable::planar_row_to_linear<InDepth, OutDepth>(in, 2 * pair + 1);
                pairs[pair] = portable::add_to_row_pair<OutDepth>(rows, addend);
            }
            portable::store_linear_row_pairs<OutDepth>(pairs, output + tile * tile_size(OutDepth));
        }
    }

    // Only the planes the output keeps are decoded and added.
    static void convert_as_planes(const std::uint8_t* input, std::uint8_t* output,
                                  std::size_t count, std::uint8_t offset) {
        using In = portable::PlaneCodec<InDepth, InLayout>;
        using Out = portable::PlaneCodec<OutDepth, OutLayout>;
        constexpr std::uint32_t kPairs = portable::kPairsOf<OutDepth>;
        const portable::PairAddend addend(offset);
        for (std::size_t tile = 0; tile < count; ++tile) {
            portable::PlanePairs planes;  // the PixelTile, plane by plane
            In::template decode<kPairs>(input + tile * In::kSize, planes);
            portable::add_color_offset<OutDepth>(planes, addend);
            Out::encode(planes, output + tile * Out::kSize);
        }
    }

    static void convert_as_pixels(const std::uint8_t* input, std::uint8_t* output,
                                  std::size_t count, std::uint8_t offset) {
        using In = portable::Codec<InDepth, InLayout>;
        using Out = portable::Codec<OutDepth, OutLayout>;
        for (std::size_t tile = 0; tile < count; ++tile) {
            portable::PixelRows pixels;  // the PixelTile, row by row
            In::template decode<OutDepth>(input + tile * In::kSize, pixels);
            portable::add_color_offset<In::template kDecodedDepth<OutDepth>, OutDepth>(pixels,
                                                                                       offset);
            Out::encode(pixels, output + tile * Out::kSize);
        }
    }
};

constexpr auto kPortableKernels = detail::make_kernel_table<PortableKernel>();

bool cpu_has_avx512_path() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
           __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("gfni");
#else
    return false;
#endif
}

}  // namespace

bool is_path_available(CodecPath path) {
    switch (path) {
        case CodecPath::portable:
            return true;
        case CodecPath::avx512: {
            static const bool available =
                detail::avx512_kernels() != nullptr && cpu_has_avx512_path();
            return available;
        }
    }
    return false;
}

CodecPath fastest_path() {
    return is_path_available(CodecPath::avx512) ? CodecPath::avx512 : CodecPath::portable;
}

std::string_view path_name(CodecPath path) {
    return path == CodecPath::avx512 ? "avx512-vbmi-gfni" : "portable";
}

BlockConverter block_converter_for(TileFormat input, TileFormat output, CodecPath path) {
    const std::size_t pair = format_index(input) * kFormatCount + format_index(output);
    if (path == CodecPath::avx512 && is_path_available(path)) {
        return (*detail::avx512_kernels())[pair];
    }
    return kPortableKernels[pair];
}

}  // namespace tilvex
