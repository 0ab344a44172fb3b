// Faults and hostile input, end to end on the built tool: full devices, unreadable
// input, missing directories, one file under several names, huge names, closed or
// exhausted standard streams. Each must give the right message and exit status and leave
// every file that existed before exactly as it was.
#include <gtest/gtest.h>

#include "oracle.hpp"
#include "prompts.hpp"
#include "test_support.hpp"
#include "tool_runner.hpp"

namespace tilvex {
namespace {

using namespace testing;

// A directory with an input, an output from an earlier run and a bystander, plus a
// subdirectory, a hard link and a symbolic link to the input.
class FaultTest : public ::testing::Test {
  protected:
    void SetUp() override {
        write_file(dir / "in.bin", random_bytes(200, 21));
        write_file(dir / "out.bin", random_bytes(50, 22));
        write_file(dir / "bystander.bin", random_bytes(70, 23));
        std::filesystem::create_directory(dir / "sub");
        std::filesystem::create_hard_link(dir / "in.bin", dir / "hard.bin");
        std::filesystem::create_symlink(dir / "in.bin", dir / "soft.bin");
        before = snapshot(dir.path());
    }

    void expect_failure(const std::string& arguments, const std::string& answers,
                        const std::string& output, const std::string& stdin_redirect = "< .stdin") {
        const ToolRun run = run_tool(dir, arguments, answers, stdin_redirect);
        EXPECT_EQ(run.status, 1) << arguments << " | " << answers.substr(0, 80);
        EXPECT_EQ(run.output, output) << arguments << " | " << answers.substr(0, 80);
        EXPECT_EQ(snapshot(dir.path()), before) << arguments << " | " << answers.substr(0, 80);
    }

    ScratchDir dir;
    std::map<std::string, Bytes> before;
};

TEST_F(FaultTest, CommandLineFaultsChangeNoFile) {
    const std::string long_name(5000, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"4p 2l in.bin /dev/full", "Couldn't write file"},
        {"4p 2l . out.bin", "Couldn't read file"},
        {"4p 2l sub out.bin", "Couldn't read file"},
        {"4p 2l in.bin no/such/dir/out.bin", "Couldn't open file"},
        {"4p 2l in.bin sub", "Couldn't open file"},
        {"4p 2l in.bin in.bin", "Input and output are the same file"},
        {"4p 2l in.bin sub/../in.bin", "Input and output are the same file"},
        {"4p 2l in.bin \"$PWD/in.bin\"", "Input and output are the same file"},
        {"4p 2l in.bin hard.bin", "Input and output are the same file"},
        {"4p 2l in.bin soft.bin", "Input and output are the same file"},
        {"4p 2l soft.bin in.bin", "Input and output are the same file"},
        {"4p 2l " + long_name + " out.bin", "Couldn't open file"},
        {"4p 2l in.bin " + long_name, "Couldn't open file"},
        {"4p 2l in.bin sub/" + long_name, "Couldn't open file"},
        {"4p 2l missing.bin out.bin", "Couldn't open file"},
        {"4p 2l in.bin out.bin 100", "Invalid color offset"},
        {"4p 2l in.bin out.bin ffffffffffffffffffffffff10", "Invalid color offset"},
    };
    for (const auto& [arguments, message] : cases) {
        expect_failure(arguments, "", message);
    }
}

TEST_F(FaultTest, PromptFaultsChangeNoFile) {
    const std::string long_name(20000, 'n');
    const std::pair<std::string, std::string> cases[] = {
        {"4 0 2 1 " + long_name + " out.bin 0", first_prompts(5) + "Couldn't open file"},
        {"4 0 2 1 in.bin " + long_name + " 0", first_prompts(7) + "Couldn't open file"},
        {"4 0 2 1 in.bin soft.bin 0", first_prompts(7) + "Input and output are the same file"},
        {"4 0 2 1 sub out.bin 0", first_prompts(5) + "Couldn't read file"},
        {"4 0 2 1 in.bin out.bin 1" + std::string(5000, '0'),
         first_prompts(7) + "Invalid color offset"},
        {std::string(5000, '9') + " 0", first_prompts(1) + "Invalid BPP value"},
        {std::string("4\0 0", 4), first_prompts(2) + "Invalid BPP format value"},
    };
    for (const auto& [answers, output] : cases) {
        expect_failure("", answers, output);
    }
}

TEST_F(FaultTest, EndOfInputAtEachPrompt) {
    const std::pair<std::string, std::string> cases[] = {
        {"", first_prompts(1) + "Invalid BPP value"},
        {"8", first_prompts(2) + "Invalid BPP format value"},
        {"8 1", first_prompts(3) + "Invalid BPP value"},
        {"8 1 8", first_prompts(4) + "Invalid BPP format value"},
        {"8 1 8 1", first_prompts(5) + "Couldn't open file"},
        {"8 1 8 1 in.bin", first_prompts(6) + "Couldn't open file"},
    };
    for (const auto& [answers, output] : cases) {
        expect_failure("", answers, output);
    }
    // Standard input closed altogether reads as its end.
    expect_failure("", "", first_prompts(1) + "Invalid BPP value", "<&-");

    // At the offset prompt the end of input means offset 0 and the run goes on.
    const ToolRun run = run_tool(dir, "", "8 1 8 1 in.bin new.bin");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, first_prompts(7));
    const Bytes input = read_file(dir / "in.bin");
    EXPECT_EQ(read_file(dir / "new.bin"), oracle::convert({8, kLinear}, {8, kLinear}, 0, input));
}

TEST_F(FaultTest, ClosedStandardOutputStillGivesTheRightStatus) {
    // The message can't be written, but the status still says failure.
    EXPECT_EQ(run_tool(dir, "4p 2l missing.bin out.bin", "", "< .stdin", ">&-").status, 1);
    EXPECT_EQ(run_tool(dir, "4p 2l in.bin /dev/full", "", "< .stdin", ">&-").status, 1);
    EXPECT_EQ(snapshot(dir.path()), before);
    // A conversion writes nothing to standard output, so it succeeds as usual.
    EXPECT_EQ(run_tool(dir, "4p 2l in.bin new.bin", "", "< .stdin", ">&-").status, 0);
    EXPECT_EQ(read_file(dir / "new.bin"),
              oracle::convert({4, kPlanar}, {2, kLinear}, 0, read_file(dir / "in.bin")));
}

TEST_F(FaultTest, SuccessfulRunReplacesOnlyItsOutput) {
    const ToolRun run = run_tool(dir, "3l 8p in.bin out.bin 7f");
    EXPECT_EQ(run.status, 0);
    auto after = snapshot(dir.path());
    const Bytes input = read_file(dir / "in.bin");
    EXPECT_EQ(after["out.bin"], oracle::convert({3, kLinear}, {8, kPlanar}, 0x7F, input));
    after["out.bin"] = before["out.bin"];
    EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace tilvex
