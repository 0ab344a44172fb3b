// The block kernels for x86-64 CPUs with AVX-512 (F, BW, VBMI) and GFNI. A whole tile,
// decoded, is one 512-bit register: qword y holds row y, byte x of it pixel x. Every
// codec is a byte permutation (VBMI) around one bit-level step:
//  - planar: the 8 plane bytes of a row form an 8x8 bit matrix, and GFNI's affine
//    instruction multiplies by it, which transposes it in one step;
//  - linear decode: VBMI's multishift cuts each pixel's field out of its row;
//  - linear encode: multiply-adds join neighbouring fields into wider ones.
// Only this file uses these instructions, each function carries its own target, and the
// table is used only after a run-time check of the CPU.
#include "tile/kernel_table.hpp"

#if defined(TILVEX_AVX512_PATH)

// GCC 12 warns inside its own AVX-512 headers, whose masked intrinsics start from an
// "undefined" register; the lanes it complains of are always masked off or zeroed.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#include <algorithm>

#include "tile/planar_codec.hpp"

#define TILVEX_AVX512 \
    __attribute__((target("avx512f,avx512bw,avx512vbmi,gfni"), always_inline)) inline

namespace tilvex::detail {
namespace {

using ByteTable = std::array<std::uint8_t, 64>;

constexpr __mmask64 first_bytes(std::size_t count) {
    return count >= 64 ? ~__mmask64{0} : (__mmask64{1} << count) - 1;
}

// gf2p8affineqb(x, A) sets bit i of each byte x_j to parity(A.byte[7 - i] AND x_j). With
// x_j a single bit, the result is that bit taken from every byte of A: a transpose.
// kPickColumn has byte j = 0x80 >> j (column j of a plane byte); kPickPlane has byte k =
// 1 << k (bit k of a pixel).
constexpr std::uint64_t kPickColumn = 0x0102040810204080;
constexpr std::uint64_t kPickPlane = 0x8040201008040201;

// Decode index: qword y gets plane i of row y in byte 7 - i, so that the affine step
// returns plane i as bit i of every pixel.
constexpr ByteTable planar_gather_index(std::uint32_t depth) {
    ByteTable index{};
    for (std::uint32_t row = 0; row < 8; ++row) {
        for (std::uint32_t plane = 0; plane < depth; ++plane) {
            index[8 * row + 7 - plane] =
                static_cast<std::uint8_t>(plane_byte_offset(depth, plane, row));
        }
    }
    return index;
}

constexpr __mmask64 planar_gather_mask(std::uint32_t depth) {
    __mmask64 mask = 0;
    for (std::uint32_t row = 0; row < 8; ++row) {
        for (std::uint32_t plane = 0; plane < depth; ++plane) {
            mask |= __mmask64{1} << (8 * row + 7 - plane);
        }
    }
    return mask;
}

// Encode index: the affine step leaves plane k of row y in byte 8y + k; each plane byte
// goes to its offset in the tile.
constexpr ByteTable planar_scatter_index(std::uint32_t depth) {
    ByteTable index{};
    for (std::uint32_t row = 0; row < 8; ++row) {
        for (std::uint32_t plane = 0; plane < depth; ++plane) {
            index[plane_byte_offset(depth, plane, row)] =
                static_cast<std::uint8_t>(8 * row + plane);
        }
    }
    return index;
}

// Linear decode index: qword y gets row y's bytes in reverse, so the row's big-endian bit
// string becomes the low 8 x depth bits of a little-endian qword.
constexpr ByteTable linear_gather_index(std::uint32_t depth) {
    ByteTable index{};
    for (std::uint32_t row = 0; row < 8; ++row) {
        for (std::uint32_t i = 0; i < depth; ++i) {
            index[8 * row + i] = static_cast<std::uint8_t>(depth * row + depth - 1 - i);
        }
    }
    return index;
}

constexpr __mmask64 linear_gather_mask(std::uint32_t depth) {
    __mmask64 mask = 0;
    for (std::uint32_t row = 0; row < 8; ++row) {
        mask |= ((__mmask64{1} << depth) - 1) << (8 * row);
    }
    return mask;
}

// Pixel x of a row starts depth x (7 - x) bits above the bottom of the row's bit string.
constexpr ByteTable linear_field_shifts(std::uint32_t depth) {
    ByteTable shifts{};
    for (std::uint32_t byte = 0; byte < 64; ++byte) {
        shifts[byte] = static_cast<std::uint8_t>(depth * (7 - byte % 8));
    }
    return shifts;
}

// 3-bpp linear encode index: each row's 24 bits end up at the bottom of its qword, and
// the tile wants them as three big-endian bytes.
constexpr ByteTable linear3_scatter_index() {
    ByteTable index{};
    for (std::uint32_t offset = 0; offset < 24; ++offset) {
        index[offset] = static_cast<std::uint8_t>(8 * (offset / 3) + 2 - offset % 3);
    }
    return index;
}

// Tiles are read and written with the smallest register that holds them: exactly for
// 16-, 32- and 64-byte tiles. A 24-byte tile takes a 32-byte access (kWide) wherever the
// block holds 8 more bytes after it; the 8 bytes a wide store writes past its tile belong
// to the next tile, which is stored after it. The block's last 24-byte tile is accessed
// through a byte mask instead, so nothing outside the block is touched.
template <bool kWide, std::size_t kSize>
TILVEX_AVX512 __m512i load_tile(const std::uint8_t* tile) {
    if constexpr (kSize == 16) {
        return _mm512_zextsi128_si512(_mm_loadu_si128(reinterpret_cast<const __m128i*>(tile)));
    } else if constexpr (kSize == 32 || (kSize == 24 && kWide)) {
        return _mm512_zextsi256_si512(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(tile)));
    } else if constexpr (kSize == 64) {
        return _mm512_loadu_si512(tile);
    } else {
        return _mm512_maskz_loadu_epi8(first_bytes(kSize), tile);
    }
}

template <bool kWide, std::size_t kSize>
TILVEX_AVX512 void store_tile(std::uint8_t* tile, __m512i bytes) {
    if constexpr (kSize == 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(tile), _mm512_castsi512_si128(bytes));
    } else if constexpr (kSize == 32 || (kSize == 24 && kWide)) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(tile), _mm512_castsi512_si256(bytes));
    } else if constexpr (kSize == 64) {
        _mm512_storeu_si512(tile, bytes);
    } else {
        _mm512_mask_storeu_epi8(tile, first_bytes(kSize), bytes);
    }
}

// How many leading tiles of a block of `count` tiles of `size` bytes can take wide access.
constexpr std::size_t wide_tiles(std::size_t count, std::size_t size) {
    return size == 24 && count > 0 ? count - 1 : count;
}

template <std::size_t N>
TILVEX_AVX512 __m512i load_table(const std::array<std::uint8_t, N>& table) {
    return _mm512_loadu_si512(table.data());
}

// Each codec holds its constants in registers for the whole block.
template <std::uint32_t Depth, std::uint32_t Layout>
struct Codec;

template <std::uint32_t Depth>
struct Codec<Depth, kPlanar> {
    static constexpr std::size_t kSize = tile_size(Depth);
    static constexpr ByteTable kGather = planar_gather_index(Depth);
    static constexpr ByteTable kScatter = planar_scatter_index(Depth);
    __m512i gather, scatter, pick_column, pick_plane;

    TILVEX_AVX512 Codec()
        : gather(load_table(kGather)),
          scatter(load_table(kScatter)),
          pick_column(_mm512_set1_epi64(static_cast<long long>(kPickColumn))),
          pick_plane(_mm512_set1_epi64(static_cast<long long>(kPickPlane))) {}

    template <bool kWide>
    TILVEX_AVX512 __m512i decode(const std::uint8_t* tile) const {
        const __m512i bytes = load_tile<kWide, kSize>(tile);
        const __m512i planes =
            _mm512_maskz_permutexvar_epi8(planar_gather_mask(Depth), gather, bytes);
        return _mm512_gf2p8affine_epi64_epi8(pick_column, planes, 0);
    }

    template <bool kWide>
    TILVEX_AVX512 void encode(__m512i pixels, std::uint8_t* tile) const {
        // Only bits 0..Depth-1 of each pixel are picked, so higher bits are dropped.
        const __m512i planes = _mm512_gf2p8affine_epi64_epi8(pick_plane, pixels, 0);
        if constexpr (Depth == 2) {
            // Planes 0 and 1 of row y are the low 16 bits of qword y, and bytes 2y, 2y + 1
            // of the tile: narrowing each qword to 16 bits gives the tile.
            _mm_storeu_si128(reinterpret_cast<__m128i*>(tile), _mm512_cvtepi64_epi16(planes));
        } else {
            store_tile<kWide, kSize>(tile, _mm512_permutexvar_epi8(scatter, planes));
        }
    }
};

template <std::uint32_t Depth>
struct Codec<Depth, kLinear> {
    static constexpr std::size_t kSize = tile_size(Depth);
    static constexpr ByteTable kGather = linear_gather_index(Depth);
    static constexpr ByteTable kShifts = linear_field_shifts(Depth);
    static constexpr ByteTable kScatter = linear3_scatter_index();
    __m512i gather, shifts, scatter, field_mask;

    TILVEX_AVX512 Codec()
        : gather(load_table(kGather)),
          shifts(load_table(kShifts)),
          scatter(load_table(kScatter)),
          field_mask(_mm512_set1_epi8(static_cast<char>((1u << Depth) - 1))) {}

    template <bool kWide>
    TILVEX_AVX512 __m512i decode(const std::uint8_t* tile) const {
        if constexpr (Depth == 8) {
            return load_tile<kWide, kSize>(tile);  // the tile is the PixelTile
        } else {
            const __m512i bytes = load_tile<kWide, kSize>(tile);
            const __m512i rows =
                _mm512_maskz_permutexvar_epi8(linear_gather_mask(Depth), gather, bytes);
            return _mm512_and_si512(_mm512_multishift_epi64_epi8(shifts, rows), field_mask);
        }
    }

    template <bool kWide>
    TILVEX_AVX512 void encode(__m512i pixels, std::uint8_t* tile) const {
        if constexpr (Depth == 8) {
            store_tile<kWide, kSize>(tile, pixels);
        } else {
            // Masking first keeps every field inside its own bits; each multiply-add then
            // computes left * 2^width + right for neighbouring fields, which is exact since
            // the fields don't overlap.
            const __m512i fields = _mm512_and_si512(pixels, field_mask);
            const __m512i pairs = _mm512_maddubs_epi16(
                fields, _mm512_set1_epi16(static_cast<short>((1 << 8) | (1 << Depth))));
            // The joined fields end up in tile order, so narrowing moves replace a byte
            // permutation where they can (they use fewer shuffle resources).
            if constexpr (Depth == 4) {
                // One tile byte at the bottom of each 16-bit word.
                _mm256_storeu_si256(reinterpret_cast<__m256i*>(tile), _mm512_cvtepi16_epi8(pairs));
            } else if constexpr (Depth == 2) {
                // Pairs of pairs: one tile byte at the bottom of each dword.
                const __m512i quads =
                    _mm512_madd_epi16(pairs, _mm512_set1_epi32((1 << 16) | (1 << 4)));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(tile), _mm512_cvtepi32_epi8(quads));
            } else {
                // Quads of 12 bits per dword, then the row's 24 bits: quad 0 above quad 1.
                const __m512i quads =
                    _mm512_madd_epi16(pairs, _mm512_set1_epi32((1 << 16) | (1 << 6)));
                const __m512i rows =
                    _mm512_or_si512(_mm512_slli_epi64(quads, 12), _mm512_srli_epi64(quads, 32));
                store_tile<kWide, kSize>(tile, _mm512_permutexvar_epi8(scatter, rows));
            }
        }
    }
};

template <std::uint32_t InDepth, std::uint32_t InLayout, std::uint32_t OutDepth,
          std::uint32_t OutLayout>
struct Avx512Kernel {
    using In = Codec<InDepth, InLayout>;
    using Out = Codec<OutDepth, OutLayout>;

    __attribute__((target("avx512f,avx512bw,avx512vbmi,gfni"))) static void convert(
        const std::uint8_t* input, std::uint8_t* output, std::size_t count, std::uint8_t offset) {
        const In decoder;
        const Out encoder;
        const __m512i color_offset = _mm512_set1_epi8(static_cast<char>(offset));
        const std::size_t wide =
            std::min(wide_tiles(count, In::kSize), wide_tiles(count, Out::kSize));
        std::size_t tile = 0;
        for (; tile + 2 <= wide; tile += 2) {
            const __m512i first = decoder.template decode<true>(input + tile * In::kSize);
            const __m512i second = decoder.template decode<true>(input + (tile + 1) * In::kSize);
            encoder.template encode<true>(_mm512_add_epi8(first, color_offset),
                                          output + tile * Out::kSize);
            encoder.template encode<true>(_mm512_add_epi8(second, color_offset),
                                          output + (tile + 1) * Out::kSize);
        }
        for (; tile < count; ++tile) {
            const __m512i pixels = decoder.template decode<false>(input + tile * In::kSize);
            encoder.template encode<false>(_mm512_add_epi8(pixels, color_offset),
                                           output + tile * Out::kSize);
        }
    }
};

constexpr auto kAvx512Kernels = make_kernel_table<Avx512Kernel>();

}  // namespace

const std::array<BlockConverter, kFormatCount * kFormatCount>* avx512_kernels() {
    return &kAvx512Kernels;
}

}  // namespace tilvex::detail

#else

namespace tilvex::detail {
const std::array<BlockConverter, kFormatCount * kFormatCount>* avx512_kernels() {
    return nullptr;
}
}  // namespace tilvex::detail

#endif
