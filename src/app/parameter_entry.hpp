// Parameter entry: takes the formats, the files and the color offset from the command
// line or from the prompts, checks each where it is entered and opens both files.
// This is the only code that writes to the console; the streams are passed in so the
// dialogue can be driven without a terminal.
#pragma once

#include <istream>
#include <ostream>
#include <string_view>

#include "app/conversion_settings.hpp"
#include "app/messages.hpp"

namespace tilvex {

// Either complete settings with both streams open (failure == Failure::none), or the
// failure to report, with no stream left open.
struct SettingsResult {
    ConversionSettings settings;
    Failure failure = Failure::none;
};

SettingsResult read_settings(int argument_count, const char* const* arguments, std::istream& in,
                             std::ostream& out);
SettingsResult read_settings_interactive(std::istream& in, std::ostream& out);
SettingsResult read_settings_from_arguments(int argument_count, const char* const* arguments);

// Reads a depth digit and a layout letter from the first two characters of `text`;
// whatever it doesn't recognise stays kUnrecognised for the checks to reject.
TileFormat parse_mode_argument(std::string_view text);

// Writes `text` unchanged, with no line break added, and flushes it.
void print_text(std::ostream& out, std::string_view text);

}  // namespace tilvex
