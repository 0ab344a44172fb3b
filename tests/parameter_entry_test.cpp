// Parameter entry driven through injected console streams and real scratch files:
// which prompts appear, which failure ends the run, and what happens to the files.
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "app/parameter_entry.hpp"
#include "prompts.hpp"
#include "test_support.hpp"

namespace tilvex {
namespace {

using testing::Bytes;
using testing::first_prompts;
using testing::read_file;
using testing::ScratchDir;
using testing::write_file;

void close_streams(const ConversionSettings& settings) {
    if (settings.input_stream != nullptr) {
        std::fclose(settings.input_stream);
    }
    if (settings.output_stream != nullptr) {
        std::fclose(settings.output_stream);
    }
}

struct Dialogue {
    std::string shown;
    SettingsResult result;
};

Dialogue run_dialogue(const std::string& answers) {
    std::istringstream in(answers);
    std::ostringstream out;
    const char* const arguments[] = {"tilvex", nullptr};
    SettingsResult result = read_settings(1, arguments, in, out);
    close_streams(result.settings);
    return {out.str(), result};
}

SettingsResult run_command_line(std::vector<std::string> words) {
    std::vector<const char*> arguments{"tilvex"};
    for (const auto& word : words) {
        arguments.push_back(word.c_str());
    }
    arguments.push_back(nullptr);
    std::istringstream in;
    std::ostringstream out;
    SettingsResult result =
        read_settings(static_cast<int>(arguments.size() - 1), arguments.data(), in, out);
    EXPECT_EQ(out.str(), "") << "the command-line form writes no prompt";
    close_streams(result.settings);
    return result;
}

class ParameterEntryTest : public ::testing::Test {
  protected:
    void SetUp() override { write_file(input(), kInputBytes); }
    std::string input() const { return (dir / "in.bin").string(); }
    std::string output() const { return (dir / "out.bin").string(); }

    const Bytes kInputBytes = {1, 2, 3, 4};
    const Bytes kPrecious = {'k', 'e', 'e', 'p'};
    ScratchDir dir;
};

TEST_F(ParameterEntryTest, DialogueOnOneLineAnswersAllSevenPrompts) {
    const Dialogue dialogue = run_dialogue("4 0 2 1 " + input() + " " + output() + " 10");
    EXPECT_EQ(dialogue.shown, first_prompts(7));
    ASSERT_EQ(dialogue.result.failure, Failure::none);
    const ConversionSettings& settings = dialogue.result.settings;
    EXPECT_EQ(settings.input_format, (TileFormat{4, kPlanar}));
    EXPECT_EQ(settings.output_format, (TileFormat{2, kLinear}));
    EXPECT_EQ(settings.color_offset, 0x10u);
    EXPECT_TRUE(std::filesystem::exists(output()));
}

TEST_F(ParameterEntryTest, DialogueStopsAtTheFirstFailedAnswer) {
    struct Case {
        std::string answers;
        std::size_t prompts_shown;
        Failure failure;
    };
    const std::string in = input();
    const std::string out = output();
    const Case cases[] = {
        {"16", 1, Failure::invalid_bpp},
        {"", 1, Failure::invalid_bpp},
        {"-6", 1, Failure::invalid_bpp},
        {"4294967298", 1, Failure::invalid_bpp},  // 2^32 + 2 does not wrap to 2
        {"four", 1, Failure::invalid_bpp},
        {"4 3", 2, Failure::invalid_bpp_format},
        {"4x", 2, Failure::invalid_bpp_format},
        {"4 -1", 2, Failure::invalid_bpp_format},
        {"4 0 16", 3, Failure::invalid_bpp},
        {"4 0 2 2", 4, Failure::invalid_bpp_format},
        {"4 0 2 1", 5, Failure::cannot_open_file},
        {"4 0 2 1 " + in, 6, Failure::cannot_open_file},
        {"4 0 2 1 " + in + " " + out + " 100", 7, Failure::invalid_color_offset},
        {"4 0 2 1 " + in + " " + out + " -1", 7, Failure::invalid_color_offset},
        {"4 0 2 1 " + in + " " + out + " 100000010", 7, Failure::invalid_color_offset},
        {"4 0 2 1 " + in + " " + in + " 0", 7, Failure::same_file},
        {"4 0 2 1 " + in + " " + (dir / "none/out.bin").string() + " 0", 7,
         Failure::cannot_open_file},
        {"4 0 2 1 " + dir.path().string() + " " + out, 5, Failure::cannot_read_file},
    };
    for (const Case& c : cases) {
        const Dialogue dialogue = run_dialogue(c.answers);
        EXPECT_EQ(dialogue.shown, first_prompts(c.prompts_shown)) << c.answers;
        EXPECT_EQ(dialogue.result.failure, c.failure) << c.answers;
        EXPECT_EQ(dialogue.result.settings.input_stream, nullptr) << c.answers;
        EXPECT_FALSE(std::filesystem::exists(output())) << c.answers;
        EXPECT_EQ(read_file(input()), kInputBytes) << c.answers;
    }
}

TEST_F(ParameterEntryTest, MissingInputEndsTheDialogueBeforeTheOutputPrompt) {
    const Dialogue dialogue =
        run_dialogue("2 1 2 1 " + (dir / "missing.bin").string() + " " + output() + " 0");
    EXPECT_EQ(dialogue.shown, first_prompts(5));
    EXPECT_EQ(dialogue.result.failure, Failure::cannot_open_file);
}

TEST_F(ParameterEntryTest, EndOfInputAtTheOffsetPromptLeavesOffsetZero) {
    const Dialogue dialogue = run_dialogue("8\n1\n8\n1\n" + input() + "\n" + output() + "\n");
    EXPECT_EQ(dialogue.shown, first_prompts(7));
    EXPECT_EQ(dialogue.result.failure, Failure::none);
    EXPECT_EQ(dialogue.result.settings.color_offset, 0u);
}

TEST_F(ParameterEntryTest, FileNamesAreWordsSoABlankSplitsThem) {
    write_file(dir / "my", kInputBytes);
    const std::string answers =
        "8 1 8 1 " + (dir / "my").string() + " " + (dir / "tiles.bin").string() + " 0";
    const Dialogue dialogue = run_dialogue(answers);
    EXPECT_EQ(dialogue.result.failure, Failure::none);
    EXPECT_TRUE(std::filesystem::exists(dir / "tiles.bin"));
}

TEST_F(ParameterEntryTest, LongFileNameIsTakenWholeNotCutIntoTheNextAnswer) {
    // A name far beyond any buffer: it can't be opened, and no remainder of it becomes
    // the output name.
    const std::string long_name = (dir / std::string(4000, 'a')).string();
    const Dialogue dialogue = run_dialogue("8 1 8 1 " + long_name + " " + output() + " 0");
    EXPECT_EQ(dialogue.shown, first_prompts(5));
    EXPECT_EQ(dialogue.result.failure, Failure::cannot_open_file);

    const Dialogue as_output = run_dialogue("8 1 8 1 " + input() + " " + long_name + " 0");
    EXPECT_EQ(as_output.shown, first_prompts(7));
    EXPECT_EQ(as_output.result.failure, Failure::cannot_open_file);
}

TEST_F(ParameterEntryTest, CommandLineTakesFormatsFilesAndOffset) {
    const SettingsResult result = run_command_line({"4p", "2l", input(), output()});
    ASSERT_EQ(result.failure, Failure::none);
    EXPECT_EQ(result.settings.input_format, (TileFormat{4, kPlanar}));
    EXPECT_EQ(result.settings.output_format, (TileFormat{2, kLinear}));
    EXPECT_EQ(result.settings.color_offset, 0u);
    EXPECT_TRUE(std::filesystem::exists(output()));
}

TEST_F(ParameterEntryTest, CommandLineReportsTheFirstBadFormatAndCreatesNothing) {
    struct Case {
        const char* inmode;
        const char* outmode;
        Failure failure;
    };
    const Case cases[] = {
        {"4", "2l", Failure::invalid_input_bpp_format},
        {"5p", "2l", Failure::invalid_input_bpp},
        {"1p", "2l", Failure::invalid_input_bpp},
        {"p4", "2l", Failure::invalid_input_bpp},
        {" 4p", "2l", Failure::invalid_input_bpp},
        {"", "2l", Failure::invalid_input_bpp},
        {"4p", "4", Failure::invalid_output_bpp_format},
        {"4p", "5p", Failure::invalid_output_bpp},
        {"4p", "", Failure::invalid_output_bpp},
        {"5x", "9y", Failure::invalid_input_bpp},
        {"4x", "9l", Failure::invalid_input_bpp_format},
        {"4p", "2z", Failure::invalid_output_bpp_format},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run_command_line({c.inmode, c.outmode, input(), output()}).failure, c.failure)
            << c.inmode << ' ' << c.outmode;
        EXPECT_FALSE(std::filesystem::exists(output()));
    }
}

TEST_F(ParameterEntryTest, CommandLineOffsetIsReadAsHex) {
    struct Case {
        const char* offset;
        Failure failure;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"ff", Failure::none, 0xFF},
        {"0x10", Failure::none, 0x10},
        {"1fzz", Failure::none, 0x1F},
        {"zz", Failure::none, 0},
        {"-0", Failure::none, 0},
        {"100", Failure::invalid_color_offset, 0},
        {"-1", Failure::invalid_color_offset, 0},
        {"100000010", Failure::invalid_color_offset, 0},
    };
    for (const Case& c : cases) {
        const SettingsResult result = run_command_line({"8l", "8l", input(), output(), c.offset});
        EXPECT_EQ(result.failure, c.failure) << c.offset;
        if (c.failure == Failure::none) {
            EXPECT_EQ(result.settings.color_offset, c.value) << c.offset;
        } else {
            EXPECT_FALSE(std::filesystem::exists(output())) << c.offset;
        }
        std::filesystem::remove(output());
    }
}

TEST_F(ParameterEntryTest, WrongArgumentCountIsAUsageFailure) {
    for (const auto& words :
         std::vector<std::vector<std::string>>{{"4p"},
                                               {"4p", "2l"},
                                               {"4p", "2l", input()},
                                               {"4p", "2l", input(), output(), "0", "extra"}}) {
        EXPECT_EQ(run_command_line(words).failure, Failure::usage);
        EXPECT_FALSE(std::filesystem::exists(output()));
    }
    std::istringstream in;
    std::ostringstream out;
    EXPECT_EQ(read_settings(0, nullptr, in, out).failure, Failure::usage);
}

TEST_F(ParameterEntryTest, FailedRunLeavesAnExistingOutputUntouched) {
    write_file(output(), kPrecious);
    const std::string missing = (dir / "missing.bin").string();
    EXPECT_EQ(run_command_line({"4p", "2l", missing, output()}).failure, Failure::cannot_open_file);
    EXPECT_EQ(run_command_line({"4p", "2l", input(), output(), "100"}).failure,
              Failure::invalid_color_offset);
    EXPECT_EQ(run_command_line({"4p", "2l", dir.path().string(), output()}).failure,
              Failure::cannot_read_file);
    EXPECT_EQ(run_dialogue("4 0 2 1 " + input() + " " + output() + " 100").result.failure,
              Failure::invalid_color_offset);
    EXPECT_EQ(read_file(output()), kPrecious);
}

TEST_F(ParameterEntryTest, SameFileUnderAnyNameIsRefused) {
    std::filesystem::create_directory(dir / "sub");
    std::filesystem::create_hard_link(input(), dir / "hard.bin");
    std::filesystem::create_symlink(input(), dir / "soft.bin");
    for (const auto& other : {input(), (dir / "sub/../in.bin").string(),
                              (dir / "hard.bin").string(), (dir / "soft.bin").string()}) {
        EXPECT_EQ(run_command_line({"4p", "2l", input(), other}).failure, Failure::same_file)
            << other;
        EXPECT_EQ(read_file(input()), kInputBytes) << other;
    }
}

TEST_F(ParameterEntryTest, OutputInAMissingDirectoryCannotBeOpened) {
    EXPECT_EQ(run_command_line({"4p", "2l", input(), (dir / "none/out.bin").string()}).failure,
              Failure::cannot_open_file);
}

}  // namespace
}  // namespace tilvex
