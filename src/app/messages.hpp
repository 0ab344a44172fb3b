// Every way a run can fail, and the one message the tool writes for each.
#pragma once

#include <string_view>

namespace tilvex {

enum class Failure {
    none,
    usage,
    invalid_bpp,         // interactive: either depth
    invalid_bpp_format,  // interactive: either layout
    invalid_input_bpp,   // command line
    invalid_input_bpp_format,
    invalid_output_bpp,
    invalid_output_bpp_format,
    cannot_open_file,
    cannot_read_file,
    same_file,
    invalid_color_offset,
    cannot_write_file,
};

// The exact text written for `failure`, with no line break at the end.
std::string_view message_text(Failure failure);

}  // namespace tilvex
