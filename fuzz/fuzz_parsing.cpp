// Mode arguments, the hexadecimal offset and the console number and word readers on
// arbitrary text, each against a plain reference built on the C library's own
// conversions.
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/parameter_entry.hpp"
#include "app/text_scan.hpp"
#include "fuzz_check.hpp"

using namespace tilvex;

namespace {

bool is_c_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// strtoull over the text up to its first NUL; values that leave 32 bits, or negative
// ones other than zero, become 0xFFFFFFFF.
std::optional<std::uint32_t> reference_hex(const std::string& text) {
    const std::string c_text(text.c_str());
    std::size_t start = 0;
    while (start < c_text.size() && is_c_space(c_text[start])) {
        ++start;
    }
    const bool negative = start < c_text.size() && c_text[start] == '-';
    const char* begin = c_text.c_str();
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(begin, &end, 16);
    if (end == begin) {
        return std::nullopt;
    }
    if (errno == ERANGE) {
        return 0xFFFFFFFF;
    }
    const unsigned long long magnitude = negative ? 0 - value : value;
    if (magnitude > 0xFFFFFFFF || (negative && magnitude != 0)) {
        return 0xFFFFFFFF;
    }
    return static_cast<std::uint32_t>(magnitude);
}

// strtoll in base 10 over the text up to its first NUL, with the same rule for values
// that can't be a 32-bit unsigned number.
std::optional<std::uint32_t> reference_decimal(const std::string& text) {
    const std::string c_text(text.c_str());
    const char* begin = c_text.c_str();
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(begin, &end, 10);
    if (end == begin) {
        return std::nullopt;
    }
    if (errno == ERANGE || value < 0 || value > 0xFFFFFFFF) {
        return kUnrecognised;
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const TileFormat format = parse_mode_argument(text);
    const char first = text.empty() ? '\0' : text[0];
    const char second = text.size() < 2 ? '\0' : text[1];
    FUZZ_CHECK(format.depth == (first == '2' || first == '3' || first == '4' || first == '8'
                                    ? static_cast<std::uint32_t>(first - '0')
                                    : kUnrecognised));
    FUZZ_CHECK(format.layout == (second == 'p' || second == 'P'   ? kPlanar
                                 : second == 'l' || second == 'L' ? kLinear
                                                                  : kUnrecognised));

    FUZZ_CHECK(scan_hex(text) == reference_hex(text));
    std::istringstream decimal_in(text);
    FUZZ_CHECK(read_decimal(decimal_in) == reference_decimal(text));

    // The stream readers consume the text without ever failing in another way.
    std::istringstream in(text);
    int reads = 0;
    while (in.good() && reads < 64) {
        switch (reads++ % 3) {
            case 0:
                (void)read_decimal(in);
                break;
            case 1:
                (void)read_hex(in);
                break;
            default: {
                const auto word = read_word(in);
                if (word) {
                    FUZZ_CHECK(!word->empty());
                    for (const char c : *word) {
                        FUZZ_CHECK(!is_c_space(c));
                    }
                }
            }
        }
    }
    return 0;
}
