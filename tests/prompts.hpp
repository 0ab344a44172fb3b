// The seven prompts of the dialogue, exactly as the tool writes them, for the tests and
// the fuzzers that check what a dialogue showed.
#pragma once

#include <cstddef>
#include <string>

namespace tilvex::testing {

inline const std::string kPrompts[] = {
    "Enter input BPP (2, 3, 4, or 8): ",
    "Enter input BPP format (0 for planar, 1 for linear): ",
    "Enter output BPP (2, 3, 4, or 8): ",
    "Enter output BPP format (0 for planar, 1 for linear): ",
    "Enter input filename: ",
    "Enter output filename: ",
    "Enter color offset in hex (if you don't know what this is, enter 0): ",
};

// The first `count` prompts, one after another, as a dialogue shows them.
inline std::string first_prompts(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += kPrompts[i];
    }
    return text;
}

}  // namespace tilvex::testing
