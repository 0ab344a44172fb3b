// Portable codecs on a tile held as its bitplanes, for the pairs with a planar output
// and a planar or 2-, 3- or 4-bpp linear input, and for planar to 2-, 3- and some 4-bpp
// linear. A planar tile is already its planes, so it is only loaded and stored; linear
// tiles are spread into planes through small tables; the offset is a ripple-carry adder
// 32 pixels wide. No tile is spread into pixels and gathered back bit by bit.
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

// ---- planar straight to 3-bpp linear, 2-bpp planar to 4-bpp linear ----

// kLinear3OfPlanes[n]: n holds planes 0, 1 and 2 of four pixels as nibbles (bits 0-3,
// 4-7 and 8-11, leftmost pixel in each nibble's top bit); the entry is those four pixels
// as 12 bits of 3-bpp linear, leftmost pixel highest.
inline constexpr auto kLinear3OfPlanes = [] {
    std::array<std::uint16_t, 4096> table{};
    for (std::uint32_t nibbles = 0; nibbles < table.size(); ++nibbles) {
        for (std::uint32_t pixel = 0; pixel < 4; ++pixel) {
            std::uint32_t value = 0;
            for (std::uint32_t plane = 0; plane < 3; ++plane) {
                value |= ((nibbles >> (4 * plane + 3 - pixel)) & 1) << plane;
            }
            table[nibbles] = static_cast<std::uint16_t>(table[nibbles] | value << (9 - 3 * pixel));
        }
    }
    return table;
}();

// kLinear4OfPlanePair[n]: n holds planes 0 and 1 of four pixels as nibbles (bits 0-3 and
// 4-7); the entry is those four pixels as 16 bits of 4-bpp linear, leftmost pixel
// highest.
inline constexpr auto kLinear4OfPlanePair = [] {
    std::array<std::uint16_t, 256> table{};
    for (std::uint32_t nibbles = 0; nibbles < table.size(); ++nibbles) {
        for (std::uint32_t pixel = 0; pixel < 4; ++pixel) {
            const std::uint32_t value =
                ((nibbles >> (3 - pixel)) & 1) | ((nibbles >> (7 - pixel)) & 1) << 1;
            table[nibbles] = static_cast<std::uint16_t>(table[nibbles] | value << (12 - 4 * pixel));
        }
    }
    return table;
}();

// The nibbles of four rows of a plane pair (a word of the pair layout) as table indices,
// row y in lane y: the pair's first plane in bits 0-3, its second in bits 4-7; `left`
// for pixels 0..3 (the plane bytes' high nibbles), `right` for pixels 4..7.
inline void plane_pair_nibbles(std::uint64_t pair, std::uint64_t& left, std::uint64_t& right) {
    constexpr std::uint64_t kNibbles = 0x0F0F0F0F0F0F0F0F;
    const auto join = [](std::uint64_t x) { return (x | x >> 4) & 0x00FF00FF00FF00FF; };
    left = join((pair >> 4) & kNibbles);
    right = join(pair & kNibbles);
}

// Four rows of a planar tile (rows 4 x half and on) as two row pairs of 3-bpp linear:
// each row is two table entries, its indices gathered for all four rows at once.
template <std::uint32_t Depth>
inline void planar_half_to_linear3_pairs(const std::uint8_t* tile, std::uint32_t half,
                                         std::uint64_t& first_pair, std::uint64_t& second_pair) {
    constexpr std::uint64_t kLowNibbleOfLane = 0x000F000F000F000F;
    std::uint64_t left;
    std::uint64_t right;
    plane_pair_nibbles(load_row(tile + 8 * half), left, right);
    const std::uint64_t upper = upper_plane_pair<Depth>(tile, half);
    left |= ((upper >> 4) & kLowNibbleOfLane) << 8;  // plane 2 above planes 0 and 1
    right |= (upper & kLowNibbleOfLane) << 8;
    std::uint64_t rows[4];
    for (std::uint32_t row = 0; row < 4; ++row) {
        rows[row] = std::uint64_t{kLinear3OfPlanes[(left >> (16 * row)) & 0xFFF]} << 12 |
                    kLinear3OfPlanes[(right >> (16 * row)) & 0xFFF];
    }
    first_pair = rows[0] << 24 | rows[1];
    second_pair = rows[2] << 24 | rows[3];
}

// The same from a 2-bpp planar tile to 4-bpp linear, whose pixels' bits 2 and 3 are zero.
inline void planar2_half_to_linear4_pairs(const std::uint8_t* tile, std::uint32_t half,
                                          std::uint64_t& first_pair, std::uint64_t& second_pair) {
    std::uint64_t left;
    std::uint64_t right;
    plane_pair_nibbles(load_row(tile + 8 * half), left, right);
    std::uint64_t rows[4];
    for (std::uint32_t row = 0; row < 4; ++row) {
        rows[row] = std::uint64_t{kLinear4OfPlanePair[(left >> (16 * row)) & 0xFF]} << 16 |
                    kLinear4OfPlanePair[(right >> (16 * row)) & 0xFF];
    }
    first_pair = rows[0] << 32 | rows[1];
    second_pair = rows[2] << 32 | rows[3];
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
