// The prompt dialogue on arbitrary standard-input bytes, through injected streams. Each
// run must end in exactly one of the dialogue's own failures or in complete, valid
// settings, and must have shown the prompts in order up to the point where it stopped.
//
// File names in the input can only name files in a scratch directory: the target works
// inside it, and every '/' in the input is replaced, so no other file can be reached.
// Since the working directory changes, give libFuzzer absolute corpus paths.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "app/parameter_entry.hpp"
#include "fuzz_check.hpp"
#include "prompts.hpp"

using namespace tilvex;

namespace {

// Two files the answers can name: "in" and "a".
const std::filesystem::path& scratch_dir() {
    static const std::filesystem::path dir = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tilvex-fuzz-XXXXXX").string();
        FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
        FUZZ_CHECK(chdir(pattern.c_str()) == 0);
        return std::filesystem::path(pattern);
    }();
    return dir;
}

void reset_scratch_dir() {
    const auto& dir = scratch_dir();
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ignored)) {
        std::filesystem::remove_all(entry.path(), ignored);
    }
    std::FILE* in = std::fopen((dir / "in").c_str(), "wb");
    std::fputs("0123456789abcdef", in);
    std::fclose(in);
    std::fclose(std::fopen((dir / "a").c_str(), "wb"));
}

bool is_dialogue_failure(Failure failure) {
    switch (failure) {
        case Failure::invalid_bpp:
        case Failure::invalid_bpp_format:
        case Failure::cannot_open_file:
        case Failure::cannot_read_file:
        case Failure::same_file:
        case Failure::invalid_color_offset:
            return true;
        default:
            return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    reset_scratch_dir();
    std::string answers(reinterpret_cast<const char*>(data), size);
    for (char& c : answers) {
        if (c == '/') {
            c = '_';
        }
    }
    std::istringstream in(answers);
    std::ostringstream out;
    const SettingsResult result = read_settings_interactive(in, out);

    // The prompts shown are the first n prompts, in order, and nothing else.
    const std::string shown = out.str();
    std::string expected;
    bool prefix_found = shown.empty();
    for (const std::string& prompt : testing::kPrompts) {
        expected += prompt;
        prefix_found = prefix_found || shown == expected;
    }
    FUZZ_CHECK(prefix_found);

    const ConversionSettings& settings = result.settings;
    if (result.failure == Failure::none) {
        FUZZ_CHECK(shown == expected);
        FUZZ_CHECK(is_valid_format(settings.input_format) &&
                   is_valid_format(settings.output_format));
        FUZZ_CHECK(settings.color_offset <= 0xFF);
        FUZZ_CHECK(settings.input_stream != nullptr && settings.output_stream != nullptr);
        std::fclose(settings.input_stream);
        std::fclose(settings.output_stream);
    } else {
        FUZZ_CHECK(is_dialogue_failure(result.failure));
        FUZZ_CHECK(settings.input_stream == nullptr && settings.output_stream == nullptr);
    }
    return 0;
}
