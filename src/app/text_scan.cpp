#include "app/text_scan.hpp"

#include "tile/tile_types.hpp"

namespace tilvex {
namespace {

inline constexpr int kEnd = -1;

// Character sources with one character of look-ahead, over a stream or over a text.
class StreamCursor {
  public:
    explicit StreamCursor(std::istream& in) : in_(in) {}
    int peek() {
        const auto c = in_.peek();
        return c == std::istream::traits_type::eof() ? kEnd : static_cast<unsigned char>(c);
    }
    void advance() { in_.get(); }

  private:
    std::istream& in_;
};

class TextCursor {
  public:
    explicit TextCursor(std::string_view text) : text_(text) {}
    int peek() const {
        return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_]) : kEnd;
    }
    void advance() { ++pos_; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The whitespace of the C locale, which separates the answers.
bool is_space(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int digit_value(int c, int base) {
    int value = 36;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'z') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'Z') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

template <class Cursor>
void skip_space(Cursor& cursor) {
    while (is_space(cursor.peek())) {
        cursor.advance();
    }
}

template <class Cursor>
bool take_sign(Cursor& cursor) {
    const int c = cursor.peek();
    if (c == '+' || c == '-') {
        cursor.advance();
    }
    return c == '-';
}

struct ScannedNumber {
    bool negative = false;
    bool too_large = false;  // above 0xFFFFFFFF
    std::uint32_t magnitude = 0;
};

// Reads digits of `base` for as long as they come; too_large once the value passes
// 32 bits, without ever overflowing.
template <class Cursor>
std::optional<ScannedNumber> scan_digits(Cursor& cursor, int base, ScannedNumber number,
                                         bool have_digit) {
    std::uint64_t value = 0;
    for (int digit; (digit = digit_value(cursor.peek(), base)) >= 0; cursor.advance()) {
        have_digit = true;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFF) {
            number.too_large = true;
            value = 0xFFFFFFFF;  // keep going to consume the whole number
        }
    }
    if (!have_digit) {
        return std::nullopt;
    }
    number.magnitude = static_cast<std::uint32_t>(value);
    return number;
}

template <class Cursor>
std::optional<std::uint32_t> scan_decimal_from(Cursor& cursor) {
    skip_space(cursor);
    ScannedNumber start;
    start.negative = take_sign(cursor);
    const auto number = scan_digits(cursor, 10, start, false);
    if (!number) {
        return std::nullopt;
    }
    if (number->too_large || (number->negative && number->magnitude != 0)) {
        return kUnrecognised;
    }
    return number->magnitude;
}

template <class Cursor>
std::optional<std::uint32_t> scan_hex_from(Cursor& cursor) {
    skip_space(cursor);
    ScannedNumber start;
    start.negative = take_sign(cursor);
    bool have_digit = false;
    if (cursor.peek() == '0') {
        // A leading 0 is a digit in its own right, so "0x" with no hex digit after it
        // still reads as the number 0.
        cursor.advance();
        have_digit = true;
        if (cursor.peek() == 'x' || cursor.peek() == 'X') {
            cursor.advance();
        }
    }
    const auto number = scan_digits(cursor, 16, start, have_digit);
    if (!number) {
        return std::nullopt;
    }
    if (number->too_large || (number->negative && number->magnitude != 0)) {
        return 0xFFFFFFFF;
    }
    return number->magnitude;
}

}  // namespace

std::optional<std::uint32_t> read_decimal(std::istream& in) {
    StreamCursor cursor(in);
    return scan_decimal_from(cursor);
}

std::optional<std::uint32_t> read_hex(std::istream& in) {
    StreamCursor cursor(in);
    return scan_hex_from(cursor);
}

std::optional<std::uint32_t> scan_hex(std::string_view text) {
    TextCursor cursor(text);
    return scan_hex_from(cursor);
}

std::optional<std::string> read_word(std::istream& in) {
    StreamCursor cursor(in);
    skip_space(cursor);
    std::string word;
    for (int c; (c = cursor.peek()) != kEnd && !is_space(c); cursor.advance()) {
        word.push_back(static_cast<char>(c));
    }
    if (word.empty()) {
        return std::nullopt;
    }
    return word;
}

}  // namespace tilvex
