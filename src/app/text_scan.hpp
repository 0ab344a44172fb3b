// The formatted-input conversions of parameter entry: a decimal integer, a hexadecimal
// integer and a whitespace-delimited word, read from an input stream or from a text.
// Each skips leading whitespace, takes only the characters that form its item and leaves
// the rest for the next read.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

namespace tilvex {

// A decimal integer with optional sign. Empty when no digit follows the whitespace.
// A value outside 0..0xFFFFFFFF (negative, or too large for 32 bits) is kUnrecognised,
// so it never wraps into a small valid number.
std::optional<std::uint32_t> read_decimal(std::istream& in);

// A hexadecimal integer with optional sign and optional 0x or 0X prefix. Empty when no
// number follows the whitespace. A value above 0xFFFFFFFF, or a negative one other than
// zero, is 0xFFFFFFFF: far above any color offset, however many digits it had.
std::optional<std::uint32_t> read_hex(std::istream& in);
std::optional<std::uint32_t> scan_hex(std::string_view text);

// The characters up to the next whitespace, whatever their number. Empty at end of input.
std::optional<std::string> read_word(std::istream& in);

}  // namespace tilvex
