// Portable codecs on a tile held as its bitplanes, for the format pairs whose both sides
// store bitplanes or close to them. A planar tile is already its planes, so between two
// such formats a tile is regrouped bytewise and the offset is added by a 64-pixel-wide
// ripple-carry adder, instead of being spread into pixels and gathered back bit by bit.
#pragma once

#include <array>
#include <cstdint>

#include "tile/bits.hpp"
#include "tile/portable_codecs.hpp"
#include "tile/tile_types.hpp"

namespace tilvex::portable {

// A PixelTile held as its bitplanes: bit k of pixel (y, x) is bit 7 - x of byte y of
// word k. Byte y of word k is exactly the plane byte a planar tile stores for plane k
// of row y.
using PlaneRows = std::uint64_t[8];

// Moves the even bytes of x to its low half and the odd bytes to its high half, each in
// its order: [e0 o0 e1 o1 e2 o2 e3 o3] (byte 0 first) becomes [e0 e1 e2 e3 o0 o1 o2 o3]
// by swapping the middle bytes of each half, then the middle halves of the word.
constexpr std::uint64_t unzip_bytes(std::uint64_t x) {
    x = swap_bits(x, 0x0000FF000000FF00, 8);
    return swap_bits(x, 0x00000000FFFF0000, 16);
}

// The inverse of unzip_bytes: the same two swaps in the other order.
constexpr std::uint64_t zip_bytes(std::uint64_t x) {
    x = swap_bits(x, 0x00000000FFFF0000, 16);
    return swap_bits(x, 0x0000FF000000FF00, 8);
}

inline constexpr std::uint64_t kLowHalf = 0x00000000FFFFFFFF;

// Splits 16 bytes that alternate two planes row by row (the planar pair layout) into the
// two planes: each 8-byte half holds four rows of both.
inline void split_plane_pair(std::uint64_t top, std::uint64_t bottom, std::uint64_t& even,
                             std::uint64_t& odd) {
    top = unzip_bytes(top);
    bottom = unzip_bytes(bottom);
    even = (top & kLowHalf) | (bottom << 32);
    odd = (top >> 32) | (bottom & ~kLowHalf);
}

inline void join_plane_pair(std::uint64_t even, std::uint64_t odd, std::uint64_t& top,
                            std::uint64_t& bottom) {
    top = zip_bytes((even & kLowHalf) | (odd << 32));
    bottom = zip_bytes((even >> 32) | (odd & ~kLowHalf));
}

// ---- planar ----

// Decodes planes 0..Count-1 of a planar tile (Count may exceed Depth: the missing planes
// are zero). Planes at Count and above are left unset, as no encoder of that depth
// reads them.
template <std::uint32_t Depth, std::uint32_t Count>
inline void decode_planar_planes(const std::uint8_t* tile, PlaneRows& planes) {
    constexpr std::uint32_t kStored = Count < Depth ? Count : Depth;
    if constexpr (Depth == 3 && kStored == 3) {
        planes[2] = load_row(tile + 16);  // the lone third plane, one byte per row
    }
    constexpr std::uint32_t kPairs = Depth == 3 ? 1 : (kStored + 1) / 2;
    for (std::uint32_t pair = 0; pair < kPairs; ++pair) {
        const std::uint8_t* bytes = tile + 16 * pair;
        split_plane_pair(load_row(bytes), load_row(bytes + 8), planes[2 * pair],
                         planes[2 * pair + 1]);
    }
    for (std::uint32_t plane = Depth; plane < Count; ++plane) {
        planes[plane] = 0;
    }
}

template <std::uint32_t Depth>
inline void encode_planar_planes(const PlaneRows& planes, std::uint8_t* tile) {
    for (std::uint32_t pair = 0; pair < Depth / 2; ++pair) {
        std::uint64_t top;
        std::uint64_t bottom;
        join_plane_pair(planes[2 * pair], planes[2 * pair + 1], top, bottom);
        store_row(tile + 16 * pair, top);
        store_row(tile + 16 * pair + 8, bottom);
    }
    if constexpr (Depth == 3) {
        store_row(tile + 16, planes[2]);
    }
}

// ---- 2-bpp linear ----

// A 2-bpp linear row is two bytes of four 2-bit pixels, leftmost pixel in the top bits;
// a word holds four rows, row y in 16-bit lane y. These turn each lane into the planar
// pair layout (plane 0 byte, then plane 1 byte) and back:
// - in each byte, the odd bits (plane 1) go to the high nibble and the even bits (plane
//   0) to the low nibble, each in pixel order: [b7 b6 b5 b4 b3 b2 b1 b0] becomes
//   [b7 b5 b3 b1 b6 b4 b2 b0] by swapping bits 1, 5 with 2, 6 and then bit pairs 2-3 with
//   4-5;
// - the lane's nibbles, from the lowest, are then plane 0 and plane 1 of pixels 0..3 and
//   plane 0 and plane 1 of pixels 4..7; swapping the middle two and then the nibbles of
//   each byte leaves plane 0 (pixels 0..3 high, 4..7 low) in the low byte and plane 1 in
//   the high byte.
constexpr std::uint64_t linear2_rows_to_plane_pairs(std::uint64_t x) {
    x = swap_bits(x, 0x2222222222222222, 1);
    x = swap_bits(x, 0x0C0C0C0C0C0C0C0C, 2);
    x = swap_bits(x, 0x00F000F000F000F0, 4);
    return ((x >> 4) & 0x0F0F0F0F0F0F0F0F) | ((x & 0x0F0F0F0F0F0F0F0F) << 4);
}

constexpr std::uint64_t plane_pairs_to_linear2_rows(std::uint64_t x) {
    x = ((x >> 4) & 0x0F0F0F0F0F0F0F0F) | ((x & 0x0F0F0F0F0F0F0F0F) << 4);
    x = swap_bits(x, 0x00F000F000F000F0, 4);
    x = swap_bits(x, 0x0C0C0C0C0C0C0C0C, 2);
    return swap_bits(x, 0x2222222222222222, 1);
}

template <std::uint32_t Count>
inline void decode_linear2_planes(const std::uint8_t* tile, PlaneRows& planes) {
    split_plane_pair(linear2_rows_to_plane_pairs(load_row(tile)),
                     linear2_rows_to_plane_pairs(load_row(tile + 8)), planes[0], planes[1]);
    for (std::uint32_t plane = 2; plane < Count; ++plane) {
        planes[plane] = 0;
    }
}

inline void encode_linear2_planes(const PlaneRows& planes, std::uint8_t* tile) {
    std::uint64_t top;
    std::uint64_t bottom;
    join_plane_pair(planes[0], planes[1], top, bottom);
    store_row(tile, plane_pairs_to_linear2_rows(top));
    store_row(tile + 8, plane_pairs_to_linear2_rows(bottom));
}

// ---- 3-bpp linear, decoding only ----

// kPlanesOf3[g] spreads the four 3-bit pixels of g (leftmost in the top bits) into plane
// bits: bit k of pixel i lands in bit 7 - i of 16-bit lane k, where the left half of a
// plane byte is; shifted right by 4 it places a row's pixels 4..7.
inline constexpr auto kPlanesOf3 = [] {
    std::array<std::uint64_t, 4096> table{};
    for (std::uint32_t group = 0; group < table.size(); ++group) {
        for (std::uint32_t pixel = 0; pixel < 4; ++pixel) {
            const std::uint32_t value = (group >> (9 - 3 * pixel)) & 7;
            for (std::uint32_t plane = 0; plane < 3; ++plane) {
                table[group] |= std::uint64_t{(value >> plane) & 1} << (16 * plane + 7 - pixel);
            }
        }
    }
    return table;
}();

// Each pair of rows becomes one word holding, in lane k, plane k's bytes of both rows;
// a transpose of 16-bit lanes over the four pairs then leaves plane k of all rows in word
// k.
template <std::uint32_t Count>
inline void decode_linear3_planes(const std::uint8_t* tile, PlaneRows& planes) {
    std::uint64_t pairs[4];
    load_linear3_row_pairs(tile, pairs);
    for (std::uint64_t& pair : pairs) {
        const std::uint64_t top =
            kPlanesOf3[linear3_group(pair, 0)] | kPlanesOf3[linear3_group(pair, 1)] >> 4;
        const std::uint64_t bottom =
            kPlanesOf3[linear3_group(pair, 2)] | kPlanesOf3[linear3_group(pair, 3)] >> 4;
        pair = top | bottom << 8;
    }
    transpose_lanes(pairs[0], pairs[1], pairs[2], pairs[3]);
    for (std::uint32_t plane = 0; plane < 3 && plane < Count; ++plane) {
        planes[plane] = pairs[plane];
    }
    for (std::uint32_t plane = 3; plane < Count; ++plane) {
        planes[plane] = 0;
    }
}

// ---- the offset ----

// Each plane of the offset, as a whole word of its bit: the addend of the adder below.
inline void spread_offset(std::uint8_t offset, PlaneRows& addend) {
    for (std::uint32_t plane = 0; plane < 8; ++plane) {
        addend[plane] = std::uint64_t{0} - ((offset >> plane) & 1);
    }
}

// Adds the offset to every pixel, keeping planes 0..Count-1 of the sums: a ripple-carry
// adder run on all 64 pixels at once, a plane per step. Bit k of a sum depends only on
// bits 0..k of its terms, so these planes are exact whatever the higher planes hold.
template <std::uint32_t Count>
inline void add_color_offset(PlaneRows& planes, const PlaneRows& addend) {
    std::uint64_t carry = 0;
    for (std::uint32_t plane = 0; plane < Count; ++plane) {
        const std::uint64_t bits = planes[plane];
        const std::uint64_t half_sum = bits ^ addend[plane];
        planes[plane] = half_sum ^ carry;
        carry = (bits & addend[plane]) | (half_sum & carry);
    }
}

// ---- dispatch by format ----

// The formats with a bitplane decoder and encoder: the planar ones and 2-bpp linear;
// 3-bpp linear has a decoder only (its encoder from planes measured no faster than from
// pixels).
template <std::uint32_t Depth, std::uint32_t Layout>
inline constexpr bool kHasPlaneEncoder = Layout == kPlanar || Depth == 2;

template <std::uint32_t Depth, std::uint32_t Layout>
inline constexpr bool kHasPlaneDecoder = Layout == kPlanar || Depth == 2 || Depth == 3;

template <std::uint32_t Depth, std::uint32_t Layout>
struct PlaneCodec {
    static constexpr std::size_t kSize = tile_size(Depth);
    template <std::uint32_t Count>
    static void decode(const std::uint8_t* tile, PlaneRows& planes) {
        if constexpr (Layout == kPlanar) {
            decode_planar_planes<Depth, Count>(tile, planes);
        } else if constexpr (Depth == 2) {
            decode_linear2_planes<Count>(tile, planes);
        } else {
            decode_linear3_planes<Count>(tile, planes);
        }
    }
    static void encode(const PlaneRows& planes, std::uint8_t* tile) {
        if constexpr (Layout == kPlanar) {
            encode_planar_planes<Depth>(planes, tile);
        } else {
            encode_linear2_planes(planes, tile);
        }
    }
};

}  // namespace tilvex::portable
