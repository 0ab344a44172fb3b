// The portable codecs, one specialisation per depth so that every loop unrolls and every
// shift is a constant. `tile` holds tile_size(Depth) bytes; the decoded tile is PixelRows.
// Used by the public codec functions and by the portable block converters. The files that
// compile them turn off automatic vectorization: these are scalar word operations, and
// vectorized they measured up to four times slower.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <span>

#include "tile/bits.hpp"
#include "tile/planar_codec.hpp"
#include "tile/tile_types.hpp"

namespace tilvex::portable {

// A PixelTile held as its eight rows, each a 64-bit word with pixel x in byte x. The
// portable kernels keep a tile in this form from decoder to encoder, so the pixels stay
// in registers and are never stored and reloaded in pieces of different sizes.
using PixelRows = std::uint64_t[kTileHeight];

// Adds the offset to every pixel, modulo 256, each byte a field.
inline void add_color_offset(PixelRows& rows, std::uint8_t offset) {
    const std::uint64_t addend = kLowBitOfEachByte * offset;
    for (std::uint64_t& row : rows) {
        row = add_to_fields(row, addend, 0x8080808080808080);
    }
}

// The same sum when the pixels are below 2^InDepth and the encoder keeps only their low
// OutDepth bits: with both depths at most 7, a byte's sum of a pixel and the offset's low
// OutDepth bits stays below 256, so one plain add cannot carry into the next pixel, and
// the bits it leaves wrong above OutDepth are never read.
template <std::uint32_t InDepth, std::uint32_t OutDepth>
inline void add_color_offset(PixelRows& rows, std::uint8_t offset) {
    if constexpr (InDepth == 8 || OutDepth == 8) {
        add_color_offset(rows, offset);
    } else {
        const std::uint64_t addend = kLowBitOfEachByte * (offset & ((1u << OutDepth) - 1));
        for (std::uint64_t& row : rows) {
            row += addend;
        }
    }
}

inline void load_pixel_rows(const std::uint8_t* pixels, PixelRows& rows) {
    for (std::uint32_t row = 0; row < kTileHeight; ++row) {
        rows[row] = load_row(pixels + kTileWidth * row);
    }
}

inline void store_pixel_rows(const PixelRows& rows, std::uint8_t* pixels) {
    for (std::uint32_t row = 0; row < kTileHeight; ++row) {
        store_row(pixels + kTileWidth * row, rows[row]);
    }
}

// ---- planar ----

// Decodes planes 0..Count-1 only (all of them by default): an encoder to a lower depth
// reads no more.
template <std::uint32_t Depth, std::uint32_t Count = Depth>
inline void decode_planar(const std::uint8_t* tile, PixelRows& rows) {
    constexpr std::uint32_t kPlanes = Count < Depth ? Count : Depth;
    for (std::uint32_t row = 0; row < kTileHeight; ++row) {
        std::uint64_t pixel_row = 0;
        for (std::uint32_t plane = 0; plane < kPlanes; ++plane) {
            // Each spread byte is 0 or 1, so shifting it by the plane number never
            // carries into the neighbouring pixel.
            pixel_row |= kSpreadBits[tile[plane_byte_offset(Depth, plane, row)]] << plane;
        }
        rows[row] = pixel_row;
    }
}

// Swaps bit 8r + c with bit 8c + r of each word, transposing it as an 8x8 bit matrix:
// three rounds exchange the off-diagonal blocks of 1x1, 2x2 and 4x4 bits.
template <std::size_t Count>
inline void transpose_bit_matrices(std::uint64_t (&words)[Count]) {
    for (std::uint64_t& x : words) {
        x = swap_bits(x, 0x00AA00AA00AA00AA, 7);
        x = swap_bits(x, 0x0000CCCC0000CCCC, 14);
        x = swap_bits(x, 0x00000000F0F0F0F0, 28);
    }
}

// The planar encoders at 4 and 8 bpp transpose pixel bytes (in reverse order, pixel x in
// byte 7 - x) as bit matrices, so that byte k holds bit k of every pixel, pixel x in bit
// 7 - x: the plane byte of plane k. Lane j (bytes 2j and 2j + 1) of a transposed row is
// then the pair of plane bytes stored at 16j + 2 x row, and a transpose of 16-bit lanes
// over four rows puts them in the order they are stored.
template <std::uint32_t Depth>
inline void encode_planar(const PixelRows& pixel_rows, std::uint8_t* tile) {
    if constexpr (Depth == 8) {
        std::uint64_t rows[kTileHeight];
        for (std::uint32_t row = 0; row < kTileHeight; ++row) {
            rows[row] = __builtin_bswap64(pixel_rows[row]);
        }
        transpose_bit_matrices(rows);
        transpose_lanes(rows[0], rows[1], rows[2], rows[3]);
        transpose_lanes(rows[4], rows[5], rows[6], rows[7]);
        for (std::uint32_t pair = 0; pair < 4; ++pair) {
            store_row(tile + 16 * pair, rows[pair]);          // rows 0..3
            store_row(tile + 16 * pair + 8, rows[4 + pair]);  // rows 4..7
        }
    } else if constexpr (Depth == 4) {
        // Rows y and y + 4 share a word, row y + 4 in the high nibbles, so one transpose
        // gives both rows' plane bytes: planes 0..3 of row y in bytes 0..3, of row y + 4
        // in bytes 4..7.
        constexpr std::uint64_t kLowNibbles = 0x0F0F0F0F0F0F0F0F;
        std::uint64_t rows[4];
        for (std::uint32_t row = 0; row < 4; ++row) {
            rows[row] = __builtin_bswap64((pixel_rows[row] & kLowNibbles) |
                                          (pixel_rows[row + 4] & kLowNibbles) << 4);
        }
        transpose_bit_matrices(rows);
        transpose_lanes(rows[0], rows[1], rows[2], rows[3]);
        store_row(tile, rows[0]);       // planes 0, 1 of rows 0..3
        store_row(tile + 16, rows[1]);  // planes 2, 3 of rows 0..3
        store_row(tile + 8, rows[2]);   // planes 0, 1 of rows 4..7
        store_row(tile + 24, rows[3]);  // planes 2, 3 of rows 4..7
    } else {
        for (std::uint32_t row = 0; row < kTileHeight; ++row) {
            const std::uint64_t pixel_row = pixel_rows[row];
            for (std::uint32_t plane = 0; plane < Depth; ++plane) {
                tile[plane_byte_offset(Depth, plane, row)] = gather_low_bits(pixel_row >> plane);
            }
        }
    }
}

// ---- linear ----

// Unpacking tables: entry i holds the pixels packed in the bits of i, leftmost pixel in
// the lowest byte (so a little-endian store puts it first).
template <std::uint32_t Depth, std::uint32_t Pixels, class Entry>
constexpr auto make_unpack_table() {
    std::array<Entry, (1u << (Depth * Pixels))> table{};
    for (std::uint32_t bits = 0; bits < table.size(); ++bits) {
        for (std::uint32_t x = 0; x < Pixels; ++x) {
            const std::uint32_t pixel = (bits >> (Depth * (Pixels - 1 - x))) & ((1u << Depth) - 1);
            table[bits] = static_cast<Entry>(table[bits] | static_cast<Entry>(pixel) << (8 * x));
        }
    }
    return table;
}

inline constexpr auto kUnpack2 = make_unpack_table<2, 4, std::uint32_t>();  // a byte: 4 pixels
inline constexpr auto kUnpack3 = make_unpack_table<3, 4, std::uint32_t>();  // 12 bits: 4 pixels

// A 3-bpp linear tile is 24 bytes: four pairs of rows, each pair 48 bits. Read as three
// big-endian words, pair p is bits 144 - 48p .. 191 - 48p of their 192-bit number, its
// first pixel highest.
inline constexpr std::uint64_t kLow48 = 0x0000FFFFFFFFFFFF;

inline void load_linear3_row_pairs(const std::uint8_t* tile, std::uint64_t (&pairs)[4]) {
    const std::uint64_t a = load_big_endian(tile);
    const std::uint64_t b = load_big_endian(tile + 8);
    const std::uint64_t c = load_big_endian(tile + 16);
    pairs[0] = a >> 16;
    pairs[1] = (a << 32 | b >> 32) & kLow48;
    pairs[2] = (b << 16 | c >> 48) & kLow48;
    pairs[3] = c & kLow48;
}

inline void store_linear3_row_pairs(const std::uint64_t (&pairs)[4], std::uint8_t* tile) {
    store_big_endian(tile, pairs[0] << 16 | pairs[1] >> 32);
    store_big_endian(tile + 8, pairs[1] << 32 | pairs[2] >> 16);
    store_big_endian(tile + 16, pairs[2] << 48 | pairs[3]);
}

// The 12-bit groups of four pixels in a row pair, left to right.
inline std::uint32_t linear3_group(std::uint64_t pair, std::uint32_t group) {
    return static_cast<std::uint32_t>(pair >> (36 - 12 * group)) & 0xFFF;
}

template <std::uint32_t Depth>
inline void decode_linear(const std::uint8_t* tile, PixelRows& rows) {
    static_assert(Depth == 2 || Depth == 3 || Depth == 4 || Depth == 8);
    if constexpr (Depth == 8) {
        load_pixel_rows(tile, rows);  // an 8-bpp linear tile is the PixelTile
    } else if constexpr (Depth == 3) {
        std::uint64_t pairs[4];
        load_linear3_row_pairs(tile, pairs);
        for (std::uint32_t pair = 0; pair < 4; ++pair) {
            for (std::uint32_t half = 0; half < 2; ++half) {
                rows[2 * pair + half] =
                    kUnpack3[linear3_group(pairs[pair], 2 * half)] |
                    std::uint64_t{kUnpack3[linear3_group(pairs[pair], 2 * half + 1)]} << 32;
            }
        }
    } else {
        for (std::uint32_t row = 0; row < kTileHeight; ++row) {
            const std::uint8_t* bytes = tile + Depth * row;
            std::uint64_t pixel_row = 0;
            if constexpr (Depth == 2) {
                pixel_row = kUnpack2[bytes[0]] | std::uint64_t{kUnpack2[bytes[1]]} << 32;
            } else {
                // Row byte m (pixels 2m and 2m + 1) moves to 16-bit lane m, then its high
                // nibble to the lane's low byte and its low nibble to the high byte.
                std::uint32_t packed;
                std::memcpy(&packed, bytes, sizeof packed);
                std::uint64_t v = packed;
                if constexpr (std::endian::native == std::endian::big) {
                    v = __builtin_bswap32(packed);
                }
                v = (v | (v << 16)) & 0x0000FFFF0000FFFF;
                v = (v | (v << 8)) & 0x00FF00FF00FF00FF;
                pixel_row = ((v >> 4) & 0x000F000F000F000F) | ((v & 0x000F000F000F000F) << 8);
            }
            rows[row] = pixel_row;
        }
    }
}

// A row of pixels as its linear row, a big-endian number of Depth bytes: neighbouring
// fields join into fields of twice the width, left field high, first in each 16-bit lane,
// then in each 32-bit lane, then across the word.
template <std::uint32_t Depth>
inline std::uint64_t join_row_fields(std::uint64_t row) {
    constexpr std::uint64_t kPixelMask = kLowBitOfEachByte * ((1u << Depth) - 1);
    constexpr std::uint64_t kPairMask = (std::uint64_t{1} << (2 * Depth)) - 1;
    constexpr std::uint64_t kQuadMask = (std::uint64_t{1} << (4 * Depth)) - 1;
    std::uint64_t v = row & kPixelMask;
    v = ((v << Depth) | (v >> 8)) & (kPairMask * 0x0001000100010001);
    v = ((v << (2 * Depth)) | (v >> 16)) & (kQuadMask * 0x0000000100000001);
    return ((v << (4 * Depth)) | (v >> 32)) & ((std::uint64_t{1} << (8 * Depth)) - 1);
}

template <std::uint32_t Depth>
inline void encode_linear(const PixelRows& rows, std::uint8_t* tile) {
    static_assert(Depth == 2 || Depth == 3 || Depth == 4 || Depth == 8);
    if constexpr (Depth == 8) {
        store_pixel_rows(rows, tile);
    } else if constexpr (Depth == 2) {
        // Each half row is 4 pixels in the low 2 bits of 4 bytes; multiplying by
        // 2^30 + 2^20 + 2^10 + 1 moves pixel x from bit 8x to bit 30 - 2x. All the
        // partial products fall on distinct even bit pairs, so nothing carries, and
        // only the wanted ones land in bits 24..31.
        constexpr std::uint64_t kGather = 0x40100401;
        for (std::uint32_t row = 0; row < kTileHeight; ++row) {
            const std::uint64_t v = rows[row] & (kLowBitOfEachByte * 3);
            tile[2 * row] = static_cast<std::uint8_t>(((v & 0xFFFFFFFF) * kGather) >> 24);
            tile[2 * row + 1] = static_cast<std::uint8_t>(((v >> 32) * kGather) >> 24);
        }
    } else if constexpr (Depth == 3) {
        std::uint64_t pairs[4];
        for (std::uint32_t pair = 0; pair < 4; ++pair) {
            pairs[pair] =
                join_row_fields<3>(rows[2 * pair]) << 24 | join_row_fields<3>(rows[2 * pair + 1]);
        }
        store_linear3_row_pairs(pairs, tile);
    } else {
        for (std::uint32_t pair = 0; pair < 4; ++pair) {
            store_big_endian(tile + 8 * pair, join_row_fields<4>(rows[2 * pair]) << 32 |
                                                  join_row_fields<4>(rows[2 * pair + 1]));
        }
    }
}

// ---- linear to linear of the same depth ----

// A linear tile is one big-endian number of 8 x Depth bytes whose Depth-bit fields are the
// pixels, the last pixel lowest. The offset is added to every field at once: each field's
// top bit is cleared before the add, so no carry leaves a field, and set by XOR after,
// leaving each field its sum modulo 2^Depth. The number is taken as Depth words from its
// low end, and a carry passes from one word to the next, because a 3-bpp field can
// straddle two words (at 2 and 4 bpp no carry ever leaves a word).
template <std::uint32_t Depth>
struct LinearFields {
    std::uint64_t addend[Depth];  // the offset's low Depth bits in every field, by word

    // The fields' top bits, by word.
    static constexpr auto kTop = [] {
        std::array<std::uint64_t, Depth> top{};
        for (std::uint32_t bit = Depth - 1; bit < 64 * Depth; bit += Depth) {
            top[bit / 64] |= std::uint64_t{1} << (bit % 64);
        }
        return top;
    }();

    explicit LinearFields(std::uint8_t offset) : addend{} {
        const std::uint64_t value = offset & ((1u << Depth) - 1);
        for (std::uint32_t bit = 0; bit < 64 * Depth; bit += Depth) {
            addend[bit / 64] |= value << (bit % 64);
            if (bit % 64 + Depth > 64) {
                addend[bit / 64 + 1] |= value >> (64 - bit % 64);  // a straddling field
            }
        }
    }

    void add_offset(const std::uint8_t* tile, std::uint8_t* out) const {
        std::uint64_t carry = 0;
        for (std::uint32_t word = 0; word < Depth; ++word) {
            const std::size_t at = 8 * (Depth - 1 - word);
            const std::uint64_t bits = load_big_endian(tile + at);
            std::uint64_t sum;
            const bool carried =
                __builtin_add_overflow(bits & ~kTop[word], addend[word] & ~kTop[word], &sum);
            const bool carried_in = __builtin_add_overflow(sum, carry, &sum);
            carry = carried || carried_in;
            store_big_endian(out + at, sum ^ ((bits ^ addend[word]) & kTop[word]));
        }
    }
};

// ---- linear to linear of another depth ----

// Two rows of a linear tile at 2, 3 or 4 bpp as one big-endian number of 16 x Depth bits,
// its first pixel highest, so pixel 15 - i is the field at bit Depth x i.
template <std::uint32_t Depth>
inline void load_linear_row_pairs(const std::uint8_t* tile, std::uint64_t (&pairs)[4]) {
    if constexpr (Depth == 2) {
        const std::uint64_t top = load_big_endian(tile);
        const std::uint64_t bottom = load_big_endian(tile + 8);
        pairs[0] = top >> 32;
        pairs[1] = top & 0xFFFFFFFF;
        pairs[2] = bottom >> 32;
        pairs[3] = bottom & 0xFFFFFFFF;
    } else if constexpr (Depth == 3) {
        load_linear3_row_pairs(tile, pairs);
    } else {
        for (std::uint32_t pair = 0; pair < 4; ++pair) {
            pairs[pair] = load_big_endian(tile + 8 * pair);
        }
    }
}

template <std::uint32_t Depth>
inline void store_linear_row_pairs(const std::uint64_t (&pairs)[4], std::uint8_t* tile) {
    if constexpr (Depth == 2) {
        store_big_endian(tile, pairs[0] << 32 | pairs[1]);
        store_big_endian(tile + 8, pairs[2] << 32 | pairs[3]);
    } else if constexpr (Depth == 3) {
        store_linear3_row_pairs(pairs, tile);
    } else {
        for (std::uint32_t pair = 0; pair < 4; ++pair) {
            store_big_endian(tile + 8 * pair, pairs[pair]);
        }
    }
}

// The fields of a row pair that move in one step of resize_fields, `step` being 1, 2, 4
// or 8: those whose index has that bit set, `width` bits each, where the earlier steps
// have left them.
template <std::uint32_t From, std::uint32_t To>
constexpr std::uint64_t moving_fields(std::uint32_t step) {
    constexpr std::uint32_t kWidth = From < To ? From : To;
    std::uint64_t mask = 0;
    for (std::uint32_t field = 0; field < 16; ++field) {
        if ((field & step) == 0) {
            continue;
        }
        // Widening runs from the largest step down, narrowing from the smallest up.
        const std::uint32_t at = To > From ? From * field + (To - From) * (field & ~(2 * step - 1))
                                           : From * field - (From - To) * (field & (step - 1));
        mask |= ((std::uint64_t{1} << kWidth) - 1) << at;
    }
    return mask;
}

// One step of resize_fields: the fields with bit Step of their index set move by
// Step x (To - From) bits.
template <std::uint32_t From, std::uint32_t To, std::uint32_t Step>
inline std::uint64_t move_fields(std::uint64_t x) {
    constexpr std::uint64_t kMoving = moving_fields<From, To>(Step);
    if constexpr (To > From) {
        return (x & ~kMoving) | (x & kMoving) << (Step * (To - From));
    } else {
        return (x & ~kMoving) | (x & kMoving) >> (Step * (From - To));
    }
}

// Makes the 16 fields of a row pair From bits wide into fields To bits wide, keeping each
// value's low bits: in each step the upper half of every group of 2 x Step fields moves
// by Step x (To - From) bits, so after the four steps field i has moved by i x (To - From)
// and sits at bit To x i. Widening moves the halves up, from the largest groups down;
// narrowing first clears the bits it drops and moves the halves down, from the smallest
// groups up.
template <std::uint32_t From, std::uint32_t To>
inline std::uint64_t resize_fields(std::uint64_t x) {
    if constexpr (To > From) {
        x = move_fields<From, To, 8>(x);
        x = move_fields<From, To, 4>(x);
        x = move_fields<From, To, 2>(x);
        return move_fields<From, To, 1>(x);
    } else {
        constexpr std::uint64_t kKept = [] {
            std::uint64_t kept = 0;
            for (std::uint32_t field = 0; field < 16; ++field) {
                kept |= ((std::uint64_t{1} << To) - 1) << (From * field);
            }
            return kept;
        }();
        x = move_fields<From, To, 1>(x & kKept);
        x = move_fields<From, To, 2>(x);
        x = move_fields<From, To, 4>(x);
        return move_fields<From, To, 8>(x);
    }
}

// Adds `addend` (a value in every field) to each of the 16 Width-bit fields of a row pair,
// modulo 2^Width.
template <std::uint32_t Width>
inline std::uint64_t add_to_row_pair(std::uint64_t x, std::uint64_t addend) {
    constexpr std::uint64_t kTop = [] {
        std::uint64_t top = 0;
        for (std::uint32_t field = 0; field < 16; ++field) {
            top |= std::uint64_t{1} << (Width * field + Width - 1);
        }
        return top;
    }();
    return add_to_fields(x, addend, kTop);
}

// The offset's low Width bits in each of the 16 fields of a row pair.
template <std::uint32_t Width>
inline std::uint64_t row_pair_addend(std::uint8_t offset) {
    std::uint64_t addend = 0;
    for (std::uint32_t field = 0; field < 16; ++field) {
        addend |= std::uint64_t{offset & ((1u << Width) - 1)} << (Width * field);
    }
    return addend;
}

// One tile from From-bpp linear to To-bpp linear. The offset is added at the wider of the
// two widths, where every kept bit of the sum is computed: before narrowing, after
// widening.
template <std::uint32_t From, std::uint32_t To>
inline void resize_linear_tile(const std::uint8_t* tile, std::uint8_t* out, std::uint64_t addend) {
    std::uint64_t pairs[4];
    load_linear_row_pairs<From>(tile, pairs);
    for (std::uint64_t& pair : pairs) {
        if constexpr (To > From) {
            pair = add_to_row_pair<To>(resize_fields<From, To>(pair), addend);
        } else {
            pair = resize_fields<From, To>(add_to_row_pair<From>(pair, addend));
        }
    }
    store_linear_row_pairs<To>(pairs, out);
}

// ---- dispatch by format ----

template <std::uint32_t Depth, std::uint32_t Layout>
struct Codec {
    static constexpr std::size_t kSize = tile_size(Depth);
    // Pixels come out below 2^kDecodedDepth<Count>.
    template <std::uint32_t Count>
    static constexpr std::uint32_t kDecodedDepth = (Layout == kPlanar && Count < Depth) ? Count
                                                                                        : Depth;

    template <std::uint32_t Count = Depth>
    static void decode(const std::uint8_t* tile, PixelRows& rows) {
        if constexpr (Layout == kPlanar) {
            decode_planar<Depth, Count>(tile, rows);
        } else {
            decode_linear<Depth>(tile, rows);
        }
    }
    static void encode(const PixelRows& rows, std::uint8_t* tile) {
        if constexpr (Layout == kPlanar) {
            encode_planar<Depth>(rows, tile);
        } else {
            encode_linear<Depth>(rows, tile);
        }
    }
};

// Adapters between a PixelTile in memory and a codec's PixelRows, for the per-tile
// entry points.
template <class Codec>
void decode_to_pixel_tile(std::span<const std::uint8_t> tile, PixelTile& pixels) {
    PixelRows rows;
    Codec::decode(tile.data(), rows);
    store_pixel_rows(rows, pixels.data());
}

template <class Codec>
void encode_from_pixel_tile(const PixelTile& pixels, std::span<std::uint8_t> tile) {
    PixelRows rows;
    load_pixel_rows(pixels.data(), rows);
    Codec::encode(rows, tile.data());
}

}  // namespace tilvex::portable
