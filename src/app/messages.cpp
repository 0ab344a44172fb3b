#include "app/messages.hpp"

namespace tilvex {

std::string_view message_text(Failure failure) {
    switch (failure) {
        case Failure::none:
            return "";
        case Failure::usage:
            return "usage:\ntilvex [inmode outmode infile outfile [offset]]";
        case Failure::invalid_bpp:
            return "Invalid BPP value";
        case Failure::invalid_bpp_format:
            return "Invalid BPP format value";
        case Failure::invalid_input_bpp:
            return "Invalid input BPP value";
        case Failure::invalid_input_bpp_format:
            return "Invalid input BPP format value";
        case Failure::invalid_output_bpp:
            return "Invalid output BPP value";
        case Failure::invalid_output_bpp_format:
            return "Invalid output BPP format value";
        case Failure::cannot_open_file:
            return "Couldn't open file";
        case Failure::cannot_read_file:
            return "Couldn't read file";
        case Failure::same_file:
            return "Input and output are the same file";
        case Failure::invalid_color_offset:
            return "Invalid color offset";
        case Failure::cannot_write_file:
            return "Couldn't write file";
    }
    return "";
}

}  // namespace tilvex
