// The process entry: gathers the settings, runs the conversion and reports the one
// failure, if any, with exit status 1.
#include <iostream>

#include "app/conversion_loop.hpp"
#include "app/parameter_entry.hpp"

int main(int argc, char** argv) {
    using namespace tilvex;
    const SettingsResult entry = read_settings(argc, argv, std::cin, std::cout);
    Failure failure = entry.failure;
    if (failure == Failure::none) {
        failure = convert_tiles(entry.settings);
    }
    if (failure != Failure::none) {
        print_text(std::cout, message_text(failure));
        return 1;
    }
    return 0;
}
