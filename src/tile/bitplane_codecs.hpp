// Portable codecs on a tile held as its bitplanes, for the pairs with a planar output
// and a planar or 2-, 3- or 4-bpp linear input, and for planar to 2-, 3- and 4-bpp
// linear. A planar tile is already its planes, so it is only loaded and stored; linear
// tiles are spread into planes through small tables, and plane bytes into linear rows;
// the offset is a ripple-carry adder 32 pixels wide or an add on packed pixels. No tile
// is spread into pixels and gathered back bit by bit.
#pragma once

#include <array>
#include <cstdint>

#include "tile/bits.hpp"
#include "tile/portable_codecs.hpp"
#include "tile/tile_types.hpp"

namespace tilvex::portable {

// A PixelTile held as an 8-bpp planar tile in eight words: word 2j + h is bytes
// 16j + 8h .. 16j + 8h + 7 of that tile, the plane bytes of planes 2j and 2j + 1 for rows
// 4h .. 4h + 3, row 4h + i in 16-bit lane i (plane 2j in the low byte). Bit k of pixel
// (y, x) is bit 7 - x of its plane byte.
using PlanePairs = std::uint64_t[8];

inline constexpr std::uint64_t kLowHalf = 0x00000000FFFFFFFF;
inline constexpr std::uint64_t kEvenBytes = 0x00FF00FF00FF00FF;

// The planes of a tile that an encoder of depth Depth reads: pairs 0 .. kPairsOf - 1.
template <std::uint32_t Depth>
inline constexpr std::uint32_t kPairsOf = (Depth + 1) / 2;

// ---- planar ----

// Planes 2 and 3 of rows 4 x half .. 4 x half + 3 of a planar tile, one word of the pair
// layout (a plane that the depth lacks is zero).
template <std::uint32_t Depth>
inline std::uint64_t upper_plane_pair(const std::uint8_t* tile, std::uint32_t half) {
    if constexpr (Depth == 2) {
        return 0;
    } else if constexpr (Depth == 3) {
        // The lone third plane has a byte per row: spread four of them to the even bytes.
        std::uint64_t x = (load_row(tile + 16) >> (32 * half)) & kLowHalf;
        x = (x | x << 16) & 0x0000FFFF0000FFFF;
        return (x | x << 8) & kEvenBytes;
    } else {
        return load_row(tile + 16 + 8 * half);
    }
}

// Decodes plane pairs 0..Pairs-1 of a planar tile; pairs the depth lacks are zero.
template <std::uint32_t Depth, std::uint32_t Pairs>
inline void decode_planar_pairs(const std::uint8_t* tile, PlanePairs& words) {
    for (std::uint32_t half = 0; half < 2; ++half) {
        words[half] = load_row(tile + 8 * half);
        if constexpr (Pairs > 1) {
            words[2 + half] = upper_plane_pair<Depth>(tile, half);
        }
    }
    for (std::uint32_t pair = 2; pair < Pairs; ++pair) {
        for (std::uint32_t half = 0; half < 2; ++half) {
            words[2 * pair + half] = Depth == 8 ? load_row(tile + 16 * pair + 8 * half) : 0;
        }
    }
}

template <std::uint32_t Depth>
inline void encode_planar_pairs(const PlanePairs& words, std::uint8_t* tile) {
    for (std::uint32_t word = 0; word < 2 * (Depth / 2); ++word) {
        store_row(tile + 8 * word, words[word]);
    }
    if constexpr (Depth == 3) {
        // Plane 2's bytes are the even bytes of pair 1, gathered four at a time.
        std::uint64_t plane2 = 0;
        for (std::uint32_t half = 0; half < 2; ++half) {
            std::uint64_t x = words[2 + half] & kEvenBytes;
            x = (x | x >> 8) & 0x0000FFFF0000FFFF;
            plane2 |= ((x | x >> 16) & kLowHalf) << (32 * half);
        }
        store_row(tile + 16, plane2);
    }
}

// ---- planes 0 and 1 straight to and from 2-bpp linear ----

// A 2-bpp linear row is two bytes of four 2-bit pixels, leftmost pixel in the top bits.
// Given four rows in the planar pair layout (plane 0 byte, then plane 1 byte, in each
// 16-bit lane), this makes each lane the linear row:
// - each lane's nibbles, from the lowest, are plane 0 of pixels 4..7 and 0..3, then plane
//   1 of pixels 4..7 and 0..3; swapping the nibbles of each byte and then the middle two
//   nibbles leaves plane 0 and plane 1 of pixels 0..3 in the low byte (the row's first
//   byte) and those of pixels 4..7 in the high byte;
// - in each byte, plane 0 in the low nibble and plane 1 in the high nibble become 2-bit
//   pixels, [b7 b5 b3 b1 b6 b4 b2 b0] becoming [b7 b6 b5 b4 b3 b2 b1 b0], by swapping bit
//   pairs 2-3 with 4-5 and then bits 1, 5 with 2, 6.
constexpr std::uint64_t plane_pairs_to_linear2_rows(std::uint64_t x) {
    x = ((x >> 4) & 0x0F0F0F0F0F0F0F0F) | ((x & 0x0F0F0F0F0F0F0F0F) << 4);
    x = swap_bits(x, 0x00F000F000F000F0, 4);
    x = swap_bits(x, 0x0C0C0C0C0C0C0C0C, 2);
    return swap_bits(x, 0x2222222222222222, 1);
}

// The inverse: the same steps undone in the other order.
constexpr std::uint64_t linear2_rows_to_plane_pairs(std::uint64_t x) {
    x = swap_bits(x, 0x2222222222222222, 1);
    x = swap_bits(x, 0x0C0C0C0C0C0C0C0C, 2);
    x = swap_bits(x, 0x00F000F000F000F0, 4);
    return ((x >> 4) & 0x0F0F0F0F0F0F0F0F) | ((x & 0x0F0F0F0F0F0F0F0F) << 4);
}

// The first 16 bytes of a planar tile at any depth hold planes 0 and 1 in the pair layout,
// row by row like the 16 bytes of a 2-bpp linear tile. Between those two forms a tile is
// converted eight bytes at a time, with the offset added to the 2-bit fields of the
// linear form.
inline std::uint64_t add_to_2bit_fields(std::uint64_t x, std::uint64_t addend) {
    return add_to_fields(x, addend, 0xAAAAAAAAAAAAAAAA);
}

inline std::uint64_t addend_of_2bit_fields(std::uint8_t offset) {
    return (offset & 3u) * std::uint64_t{0x5555555555555555};
}

inline void planar_pair_to_linear2(const std::uint8_t* tile, std::uint8_t* out,
                                   std::uint64_t addend) {
    for (std::uint32_t at = 0; at < 16; at += 8) {
        store_row(out + at,
                  add_to_2bit_fields(plane_pairs_to_linear2_rows(load_row(tile + at)), addend));
    }
}

inline void linear2_to_planar_pair(const std::uint8_t* tile, std::uint8_t* out,
                                   std::uint64_t addend) {
    for (std::uint32_t at = 0; at < 16; at += 8) {
        store_row(out + at,
                  linear2_rows_to_plane_pairs(add_to_2bit_fields(load_row(tile + at), addend)));
    }
}

// ---- planar straight to 3- and 4-bpp linear ----

// kSpreadBitsBy<Stride>[b] moves bit i of a plane byte to bit Stride x i: pixel x of the
// byte (bit 7 - x) lands in the lowest bit of field 7 - x, where pixel x of a linear row
// of that depth, read as a big-endian number, is.
template <std::uint32_t Stride>
inline constexpr auto kSpreadBitsBy = [] {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t byte = 0; byte < table.size(); ++byte) {
        for (std::uint32_t bit = 0; bit < 8; ++bit) {
            table[byte] |= ((byte >> bit) & 1u) << (Stride * bit);
        }
    }
    return table;
}();

// A row of a planar tile as a linear row of depth Out (a big-endian number): each plane
// byte the output keeps, spread to every Out-th bit and shifted to its plane's place in
// the pixels.
template <std::uint32_t Depth, std::uint32_t Out>
inline std::uint64_t planar_row_to_linear(const std::uint8_t* tile, std::uint32_t row) {
    std::uint64_t bits = 0;
    for (std::uint32_t plane = 0; plane < Depth && plane < Out; ++plane) {
        bits |= std::uint64_t{kSpreadBitsBy<Out>[tile[plane_byte_offset(Depth, plane, row)]]}
                << plane;
    }
    return bits;
}

// ---- linear, decoding only ----

// A linear row is decoded a group of pixels at a time: a byte (four 2-bpp or two 4-bpp
// pixels) or 12 bits (four 3-bpp pixels).
template <std::uint32_t Depth>
inline constexpr std::uint32_t kGroupPixels = Depth == 4 ? 2 : 4;

// The byte of a row's plane k in a word that holds one row in the pair layout: planes 0
// and 1 in bytes 0 and 1, planes 2 and 3 in bytes 4 and 5. A second row shifted left by
// 16 fills the other bytes, so that the word is two rows of plane pairs 0 and 1.
constexpr std::uint32_t plane_byte_of_row(std::uint32_t plane) {
    return plane % 2 + 4 * (plane / 2);
}

// kPlanesOfGroup<Depth>[g] spreads the pixels of group g (leftmost in the top bits) into
// plane bits: bit k of pixel i lands in bit 7 - i of plane k's byte, where pixel i of a
// plane byte is; shifted right by a group's width in pixels it places the next group.
template <std::uint32_t Depth>
inline constexpr auto kPlanesOfGroup = [] {
    constexpr std::uint32_t kPixels = kGroupPixels<Depth>;
    std::array<std::uint64_t, (1u << (Depth * kPixels))> table{};
    for (std::uint32_t group = 0; group < table.size(); ++group) {
        for (std::uint32_t pixel = 0; pixel < kPixels; ++pixel) {
            const std::uint32_t value =
                (group >> (Depth * (kPixels - 1 - pixel))) & ((1u << Depth) - 1);
            for (std::uint32_t plane = 0; plane < Depth; ++plane) {
                table[group] |= std::uint64_t{(value >> plane) & 1}
                                << (8 * plane_byte_of_row(plane) + 7 - pixel);
            }
        }
    }
    return table;
}();

// The plane bytes of the row whose groups are given, at plane_byte_of_row.
template <std::uint32_t Depth, class Groups>
inline std::uint64_t row_planes(Groups group) {
    std::uint64_t planes = 0;
    for (std::uint32_t index = 0; index < 8 / kGroupPixels<Depth>; ++index) {
        planes |= kPlanesOfGroup<Depth>[group(index)] >> (kGroupPixels<Depth> * index);
    }
    return planes;
}

// Each pair of rows becomes one word: their plane pair 0 in the low half and plane pair
// 1 in the high half, each in the pair layout.
template <std::uint32_t Depth, std::uint32_t Pairs>
inline void decode_linear_pairs(const std::uint8_t* tile, PlanePairs& words) {
    std::uint64_t row_pairs[4];
    if constexpr (Depth == 3) {
        load_linear3_row_pairs(tile, row_pairs);
        for (std::uint64_t& pair : row_pairs) {
            const std::uint64_t bits = pair;
            pair = row_planes<3>([&](std::uint32_t i) { return linear3_group(bits, i); }) |
                   row_planes<3>([&](std::uint32_t i) { return linear3_group(bits, 2 + i); }) << 16;
        }
    } else {
        for (std::uint32_t pair = 0; pair < 4; ++pair) {
            const std::uint8_t* top = tile + Depth * 2 * pair;
            const std::uint8_t* bottom = top + Depth;
            row_pairs[pair] = row_planes<Depth>([&](std::uint32_t i) { return top[i]; }) |
                              row_planes<Depth>([&](std::uint32_t i) { return bottom[i]; }) << 16;
        }
    }
    for (std::uint32_t half = 0; half < 2; ++half) {
        const std::uint64_t first = row_pairs[2 * half];
        const std::uint64_t second = row_pairs[2 * half + 1];
        words[half] = (first & kLowHalf) | second << 32;
        if constexpr (Pairs > 1) {
            words[2 + half] = Depth > 2 ? (first >> 32) | (second & ~kLowHalf) : 0;
        }
    }
    for (std::uint32_t word = 4; word < 2 * Pairs; ++word) {
        words[word] = 0;
    }
}

// ---- the offset ----

// The offset's bits as the adder below takes them: plane 2j's bit in every even byte of
// even[j], plane 2j + 1's in every odd byte of odd[j].
struct PairAddend {
    std::uint64_t even[4];
    std::uint64_t odd[4];

    explicit PairAddend(std::uint8_t offset) {
        for (std::uint32_t pair = 0; pair < 4; ++pair) {
            even[pair] = kEvenBytes & (std::uint64_t{0} - ((offset >> (2 * pair)) & 1));
            odd[pair] = ~kEvenBytes & (std::uint64_t{0} - ((offset >> (2 * pair + 1)) & 1));
        }
    }
};

// One step of a ripple-carry adder over whole planes: the sum bits, and the carry out.
inline std::uint64_t add_plane(std::uint64_t bits, std::uint64_t addend, std::uint64_t& carry) {
    const std::uint64_t half_sum = bits ^ addend;
    const std::uint64_t sum = half_sum ^ carry;
    carry = (bits & addend) | (half_sum & carry);
    return sum;
}

// Adds the offset to every pixel, keeping planes 0..Planes-1 of the sums: for each four
// rows, a ripple-carry adder over the planes, 32 pixels at once. The carry moves from an
// even plane (even bytes) to the odd plane above it by a shift of 8, and back down to the
// next pair's even plane. Bit k of a sum depends only on bits 0..k of its terms, so the
// planes kept are exact (an odd plane left out is cleared: no encoder of that depth reads
// it).
template <std::uint32_t Planes>
inline void add_color_offset(PlanePairs& words, const PairAddend& addend) {
    for (std::uint32_t half = 0; half < 2; ++half) {
        std::uint64_t carry = 0;
        for (std::uint32_t pair = 0; 2 * pair < Planes; ++pair) {
            std::uint64_t& word = words[2 * pair + half];
            const std::uint64_t even = add_plane(word & kEvenBytes, addend.even[pair], carry);
            if (2 * pair + 1 == Planes) {
                word = even;
                break;
            }
            carry <<= 8;
            const std::uint64_t odd = add_plane(word & ~kEvenBytes, addend.odd[pair], carry);
            carry >>= 8;
            word = even | odd;
        }
    }
}

// ---- dispatch by format ----

// The formats with a bitplane decoder: all but 8-bpp linear. Every plane encoder is
// planar: into linear formats, encoding from planes measured no faster than from pixels.
template <std::uint32_t Depth, std::uint32_t Layout>
inline constexpr bool kHasPlaneDecoder = Layout == kPlanar || Depth != 8;

template <std::uint32_t Depth, std::uint32_t Layout>
struct PlaneCodec {
    static constexpr std::size_t kSize = tile_size(Depth);
    template <std::uint32_t Pairs>
    static void decode(const std::uint8_t* tile, PlanePairs& words) {
        if constexpr (Layout == kPlanar) {
            decode_planar_pairs<Depth, Pairs>(tile, words);
        } else {
            decode_linear_pairs<Depth, Pairs>(tile, words);
        }
    }
    static void encode(const PlanePairs& words, std::uint8_t* tile) {
        static_assert(Layout == kPlanar);
        encode_planar_pairs<Depth>(words, tile);
    }
};

}  // namespace tilvex::portable
