// Small bit helpers shared by the codecs: byte-order-safe 64-bit loads and stores
// and the spread/gather of one bit per pixel between a plane byte and a row of pixels.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace tilvex {

// Eight bytes as one 64-bit word, the first byte lowest (little) or highest (big).
template <std::endian Order>
inline std::uint64_t load_word(const std::uint8_t* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native != Order) {
        word = __builtin_bswap64(word);
    }
    return word;
}

template <std::endian Order>
inline void store_word(std::uint8_t* bytes, std::uint64_t word) {
    if constexpr (std::endian::native != Order) {
        word = __builtin_bswap64(word);
    }
    std::memcpy(bytes, &word, sizeof word);
}

// A row of 8 pixel bytes as one 64-bit word, pixel x in byte x (bits 8x..8x+7).
inline std::uint64_t load_row(const std::uint8_t* bytes) {
    return load_word<std::endian::little>(bytes);
}

inline void store_row(std::uint8_t* bytes, std::uint64_t word) {
    store_word<std::endian::little>(bytes, word);
}

// Eight bytes as a big-endian number, and back.
inline std::uint64_t load_big_endian(const std::uint8_t* bytes) {
    return load_word<std::endian::big>(bytes);
}

inline void store_big_endian(std::uint8_t* bytes, std::uint64_t word) {
    store_word<std::endian::big>(bytes, word);
}

// Exchanges the bits of x selected by `mask` with the bits `shift` places above them.
constexpr std::uint64_t swap_bits(std::uint64_t x, std::uint64_t mask, unsigned shift) {
    const std::uint64_t t = (x ^ (x >> shift)) & mask;
    return x ^ t ^ (t << shift);
}

// Exchanges the bits of `high` selected by `mask` with the bits of `low` `shift` places
// above them.
constexpr void swap_bits_between(std::uint64_t& low, std::uint64_t& high, std::uint64_t mask,
                                 unsigned shift) {
    const std::uint64_t t = ((low >> shift) ^ high) & mask;
    high ^= t;
    low ^= t << shift;
}

// Transposes four words as a 4x4 matrix of 16-bit lanes: afterwards word j holds lane j of
// each word, lane i from word i. Two rounds exchange the off-diagonal blocks of one lane
// and of 2x2 lanes.
constexpr void transpose_lanes(std::uint64_t& a, std::uint64_t& b, std::uint64_t& c,
                               std::uint64_t& d) {
    swap_bits_between(a, b, 0x0000FFFF0000FFFF, 16);
    swap_bits_between(c, d, 0x0000FFFF0000FFFF, 16);
    swap_bits_between(a, c, 0x00000000FFFFFFFF, 32);
    swap_bits_between(b, d, 0x00000000FFFFFFFF, 32);
}

// Adds `addend` to `x` field by field, `top` marking the top bit of each field: the top
// bits are cleared before the add, so no carry leaves a field, and set by XOR after, so
// each field gets its sum modulo 2 to the power of its width.
constexpr std::uint64_t add_to_fields(std::uint64_t x, std::uint64_t addend, std::uint64_t top) {
    return ((x & ~top) + (addend & ~top)) ^ ((x ^ addend) & top);
}

inline constexpr std::uint64_t kLowBitOfEachByte = 0x0101010101010101;

// kSpreadBits[b] has byte x = bit (7 - x) of b: the plane byte's leftmost pixel (bit 7)
// lands in pixel 0.
inline constexpr std::array<std::uint64_t, 256> kSpreadBits = [] {
    std::array<std::uint64_t, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
        for (unsigned x = 0; x < 8; ++x) {
            table[b] |= static_cast<std::uint64_t>((b >> (7 - x)) & 1) << (8 * x);
        }
    }
    return table;
}();

// The inverse of kSpreadBits: takes bit 0 of each byte of `row` and returns them as one
// plane byte, pixel 0 in bit 7. The multiplier adds a copy of the row shifted by 63 - 9x
// for each x, which moves bit 8x to bit 63 - x; all partial products fall on distinct bit
// positions, so no carry disturbs the top byte.
inline std::uint8_t gather_low_bits(std::uint64_t row) {
    return static_cast<std::uint8_t>(((row & kLowBitOfEachByte) * 0x8040201008040201) >> 56);
}

}  // namespace tilvex
