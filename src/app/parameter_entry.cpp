#include "app/parameter_entry.hpp"

#include <filesystem>
#include <string>

#include "app/text_scan.hpp"

namespace tilvex {
namespace {

constexpr std::uint32_t kMaxColorOffset = 0xFF;

// The prompts, in the order they are asked.
constexpr std::string_view kInputDepthPrompt = "Enter input BPP (2, 3, 4, or 8): ";
constexpr std::string_view kInputLayoutPrompt =
    "Enter input BPP format (0 for planar, 1 for linear): ";
constexpr std::string_view kOutputDepthPrompt = "Enter output BPP (2, 3, 4, or 8): ";
constexpr std::string_view kOutputLayoutPrompt =
    "Enter output BPP format (0 for planar, 1 for linear): ";
constexpr std::string_view kInputFilePrompt = "Enter input filename: ";
constexpr std::string_view kOutputFilePrompt = "Enter output filename: ";
constexpr std::string_view kColorOffsetPrompt =
    "Enter color offset in hex (if you don't know what this is, enter 0): ";

// Streams are unbuffered: the loop reads and writes whole blocks of tiles, so a stream
// buffer would only add a second copy of every byte.
std::FILE* open_unbuffered(std::string_view name, const char* mode) {
    if (name.find('\0') != std::string_view::npos) {
        return nullptr;  // no file has a name with a NUL in it
    }
    std::FILE* stream = std::fopen(std::string(name).c_str(), mode);
    if (stream != nullptr) {
        std::setvbuf(stream, nullptr, _IONBF, 0);
    }
    return stream;
}

// Opens the input. A directory opens for reading on some systems but can't be read;
// it is refused here, before the output file is touched.
Failure open_input(std::string_view name, ConversionSettings& settings) {
    settings.input_stream = open_unbuffered(name, "rb");
    if (settings.input_stream == nullptr) {
        return Failure::cannot_open_file;
    }
    std::error_code error;
    if (std::filesystem::is_directory(std::filesystem::path(name), error)) {
        return Failure::cannot_read_file;
    }
    return Failure::none;
}

Failure check_color_offset(std::uint32_t offset) {
    return offset <= kMaxColorOffset ? Failure::none : Failure::invalid_color_offset;
}

// The last two steps of both modes: the output is created or truncated only once every
// other check has passed, and never when it is the input file itself.
Failure open_output(std::string_view input_name, std::string_view output_name,
                    ConversionSettings& settings) {
    std::error_code error;
    if (std::filesystem::equivalent(std::filesystem::path(input_name),
                                    std::filesystem::path(output_name), error)) {
        return Failure::same_file;
    }
    settings.output_stream = open_unbuffered(output_name, "wb");
    return settings.output_stream != nullptr ? Failure::none : Failure::cannot_open_file;
}

SettingsResult finish(ConversionSettings& settings, Failure failure) {
    if (failure != Failure::none && settings.input_stream != nullptr) {
        std::fclose(settings.input_stream);  // only ever read, so closing it changes nothing
        settings.input_stream = nullptr;
    }
    return {settings, failure};
}

// One of the four numeric questions: its prompt, its check and the field it fills.
struct NumberQuestion {
    std::string_view prompt;
    bool (*is_valid)(std::uint32_t);
    Failure failure;
    std::uint32_t* field;
};

// Asks one question and checks the answer at once; no number at all fails the check
// like a bad one.
Failure ask_number(std::istream& in, std::ostream& out, const NumberQuestion& question) {
    print_text(out, question.prompt);
    *question.field = read_decimal(in).value_or(kUnrecognised);
    return question.is_valid(*question.field) ? Failure::none : question.failure;
}

Failure check_formats(const TileFormat& input, const TileFormat& output) {
    if (!is_valid_depth(input.depth)) {
        return Failure::invalid_input_bpp;
    }
    if (!is_valid_layout(input.layout)) {
        return Failure::invalid_input_bpp_format;
    }
    if (!is_valid_depth(output.depth)) {
        return Failure::invalid_output_bpp;
    }
    if (!is_valid_layout(output.layout)) {
        return Failure::invalid_output_bpp_format;
    }
    return Failure::none;
}

}  // namespace

void print_text(std::ostream& out, std::string_view text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();  // a prompt must be on screen before the answer is read
}

TileFormat parse_mode_argument(std::string_view text) {
    TileFormat format;
    if (!text.empty()) {
        switch (text[0]) {
            case '2':
                format.depth = 2;
                break;
            case '3':
                format.depth = 3;
                break;
            case '4':
                format.depth = 4;
                break;
            case '8':
                format.depth = 8;
                break;
            default:
                break;
        }
    }
    if (text.size() >= 2) {
        switch (text[1]) {
            case 'P':
            case 'p':
                format.layout = kPlanar;
                break;
            case 'L':
            case 'l':
                format.layout = kLinear;
                break;
            default:
                break;
        }
    }
    return format;
}

SettingsResult read_settings_interactive(std::istream& in, std::ostream& out) {
    ConversionSettings settings;
    const NumberQuestion questions[] = {
        {kInputDepthPrompt, is_valid_depth, Failure::invalid_bpp, &settings.input_format.depth},
        {kInputLayoutPrompt, is_valid_layout, Failure::invalid_bpp_format,
         &settings.input_format.layout},
        {kOutputDepthPrompt, is_valid_depth, Failure::invalid_bpp, &settings.output_format.depth},
        {kOutputLayoutPrompt, is_valid_layout, Failure::invalid_bpp_format,
         &settings.output_format.layout},
    };
    Failure failure = Failure::none;
    for (const NumberQuestion& question : questions) {
        if ((failure = ask_number(in, out, question)) != Failure::none) {
            return finish(settings, failure);
        }
    }

    print_text(out, kInputFilePrompt);
    const auto input_name = read_word(in);
    if (!input_name) {
        return finish(settings, Failure::cannot_open_file);
    }
    if ((failure = open_input(*input_name, settings)) != Failure::none) {
        return finish(settings, failure);
    }

    // The output name is only read here; the file is opened after the last check.
    print_text(out, kOutputFilePrompt);
    const auto output_name = read_word(in);
    if (!output_name) {
        return finish(settings, Failure::cannot_open_file);
    }

    print_text(out, kColorOffsetPrompt);
    settings.color_offset = read_hex(in).value_or(0);  // no number leaves the offset 0
    if ((failure = check_color_offset(settings.color_offset)) != Failure::none) {
        return finish(settings, failure);
    }
    return finish(settings, open_output(*input_name, *output_name, settings));
}

SettingsResult read_settings_from_arguments(int argument_count, const char* const* arguments) {
    ConversionSettings settings;
    settings.input_format = parse_mode_argument(arguments[1]);
    settings.output_format = parse_mode_argument(arguments[2]);
    Failure failure = check_formats(settings.input_format, settings.output_format);
    if (failure != Failure::none) {
        return finish(settings, failure);
    }
    const std::string_view input_name = arguments[3];
    const std::string_view output_name = arguments[4];
    if ((failure = open_input(input_name, settings)) != Failure::none) {
        return finish(settings, failure);
    }
    if (argument_count == 6) {
        settings.color_offset = scan_hex(arguments[5]).value_or(0);
    }
    if ((failure = check_color_offset(settings.color_offset)) != Failure::none) {
        return finish(settings, failure);
    }
    return finish(settings, open_output(input_name, output_name, settings));
}

SettingsResult read_settings(int argument_count, const char* const* arguments, std::istream& in,
                             std::ostream& out) {
    switch (argument_count) {
        case 1:
            return read_settings_interactive(in, out);
        case 5:
        case 6:
            return read_settings_from_arguments(argument_count, arguments);
        default:
            return {ConversionSettings{}, Failure::usage};
    }
}

}  // namespace tilvex
