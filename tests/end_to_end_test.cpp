// The built tool as a user runs it: exact standard output, exit status, and the files
// left behind.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "oracle.hpp"
#include "test_support.hpp"
#include "tool_runner.hpp"

extern char** environ;

namespace tilvex {
namespace {

using testing::Bytes;
using testing::random_bytes;
using testing::read_file;
using testing::run_tool;
using testing::ScratchDir;
using testing::ToolRun;
using testing::write_file;

TEST(EndToEnd, ConvertsAFileSilently) {
    ScratchDir dir;
    const Bytes input = random_bytes(100, 11);
    write_file(dir / "in.bin", input);
    const ToolRun run = run_tool(dir, "4p 2l in.bin out.bin 10");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "");
    EXPECT_EQ(read_file(dir / "out.bin"), oracle::convert({4, kPlanar}, {2, kLinear}, 0x10, input));
}

TEST(EndToEnd, FailuresWriteOneMessageWithoutLineBreakAndExitOne) {
    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"", "Enter input BPP (2, 3, 4, or 8): Invalid BPP value"},
        {"4p", "usage:\ntilvex [inmode outmode infile outfile [offset]]"},
        {"4p 2l in.bin out.bin 0 extra", "usage:\ntilvex [inmode outmode infile outfile [offset]]"},
        {"5x 9y in.bin out.bin", "Invalid input BPP value"},
        {"4x 9l in.bin out.bin", "Invalid input BPP format value"},
        {"4p 9l in.bin out.bin", "Invalid output BPP value"},
        {"4p 2 in.bin out.bin", "Invalid output BPP format value"},
        {"4p 2l missing.bin out.bin", "Couldn't open file"},
        {"4p 2l in.bin out.bin 100", "Invalid color offset"},
        {"4p 2l in.bin in.bin", "Input and output are the same file"},
        {"4p 2l . out.bin", "Couldn't read file"},
        {"4p 2l in.bin /dev/full", "Couldn't write file"},
        {"4p 2l in.bin no/such/dir.bin", "Couldn't open file"},
    };
    for (const Case& c : cases) {
        ScratchDir dir;
        const Bytes input = random_bytes(64, 12);
        write_file(dir / "in.bin", input);
        const ToolRun run = run_tool(dir, c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_EQ(run.output, c.message) << c.arguments;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.bin")) << c.arguments;
        EXPECT_EQ(read_file(dir / "in.bin"), input) << c.arguments;
    }
}

TEST(EndToEnd, SwappedFileNamesDoNotDestroyTheInput) {
    // The user meant "in.bin out.bin": the tool must not truncate in.bin as an output
    // because out.bin can't be read.
    ScratchDir dir;
    const Bytes precious = random_bytes(96, 13);
    write_file(dir / "in.bin", precious);
    const ToolRun run = run_tool(dir, "4p 2l out.bin in.bin");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "Couldn't open file");
    EXPECT_EQ(read_file(dir / "in.bin"), precious);
}

TEST(EndToEnd, DialogueFromPipedAnswers) {
    ScratchDir dir;
    const Bytes input = random_bytes(64 * 3 + 1, 14);
    write_file(dir / "in.bin", input);
    const ToolRun run = run_tool(dir, "", "8\n1\n4 0\nin.bin out.bin\n1f\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output,
              "Enter input BPP (2, 3, 4, or 8): "
              "Enter input BPP format (0 for planar, 1 for linear): "
              "Enter output BPP (2, 3, 4, or 8): "
              "Enter output BPP format (0 for planar, 1 for linear): "
              "Enter input filename: "
              "Enter output filename: "
              "Enter color offset in hex (if you don't know what this is, enter 0): ");
    EXPECT_EQ(read_file(dir / "out.bin"), oracle::convert({8, kLinear}, {4, kPlanar}, 0x1F, input));
}

std::string mode_argument(TileFormat format) {
    return std::to_string(format.depth) + (format.layout == kPlanar ? "p" : "l");
}

TEST(EndToEnd, EveryFormatPairThroughCommandLineAndPrompts) {
    // Two whole tiles of the largest size and a short final tile in every input format.
    ScratchDir dir;
    const Bytes input = random_bytes(64 * 2 + 13, 16);
    write_file(dir / "in.bin", input);
    for (const TileFormat from : kAllFormats) {
        for (const TileFormat to : kAllFormats) {
            const std::string pair = mode_argument(from) + " " + mode_argument(to);
            const Bytes expected = oracle::convert(from, to, 0x35, input);

            const ToolRun by_arguments = run_tool(dir, pair + " in.bin out.bin 35");
            EXPECT_EQ(by_arguments.status, 0) << pair;
            EXPECT_EQ(read_file(dir / "out.bin"), expected) << pair;
            std::filesystem::remove(dir / "out.bin");

            const std::string answers =
                std::to_string(from.depth) + " " + std::to_string(from.layout) + " " +
                std::to_string(to.depth) + " " + std::to_string(to.layout) + " in.bin out.bin 35";
            const ToolRun by_prompts = run_tool(dir, "", answers);
            EXPECT_EQ(by_prompts.status, 0) << pair;
            EXPECT_EQ(read_file(dir / "out.bin"), expected) << pair;
            std::filesystem::remove(dir / "out.bin");
        }
    }
}

// Reads from `fd` until `expected` has arrived in full. A generous poll timeout only
// guards against a hang; it never decides the outcome of a passing run.
bool await_text(int fd, const std::string& expected) {
    std::string seen;
    while (seen.size() < expected.size()) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 20000) <= 0) {
            return false;
        }
        char buffer[256];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            return false;
        }
        seen.append(buffer, static_cast<std::size_t>(got));
    }
    return seen == expected;
}

TEST(EndToEnd, EachPromptIsVisibleBeforeItsAnswerIsTyped) {
    ScratchDir dir;
    write_file(dir / "in.bin", random_bytes(64, 15));
    int to_tool[2];
    int from_tool[2];
    ASSERT_EQ(pipe(to_tool), 0);
    ASSERT_EQ(pipe(from_tool), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, to_tool[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, from_tool[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, to_tool[1]);
    posix_spawn_file_actions_addclose(&actions, from_tool[0]);
    char name[] = "tilvex";
    char* argv[] = {name, nullptr};
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, TILVEX_BINARY, &actions, nullptr, argv, environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(to_tool[0]);
    close(from_tool[1]);

    const std::pair<std::string, std::string> steps[] = {
        {"Enter input BPP (2, 3, 4, or 8): ", "2\n"},
        {"Enter input BPP format (0 for planar, 1 for linear): ", "0\n"},
        {"Enter output BPP (2, 3, 4, or 8): ", "8\n"},
        {"Enter output BPP format (0 for planar, 1 for linear): ", "1\n"},
        {"Enter input filename: ", (dir / "in.bin").string() + "\n"},
        {"Enter output filename: ", (dir / "out.bin").string() + "\n"},
        {"Enter color offset in hex (if you don't know what this is, enter 0): ", "0\n"},
    };
    for (const auto& [prompt, answer] : steps) {
        EXPECT_TRUE(await_text(from_tool[0], prompt)) << prompt;
        ASSERT_EQ(write(to_tool[1], answer.data(), answer.size()),
                  static_cast<ssize_t>(answer.size()));
    }
    close(to_tool[1]);
    int status = 0;
    waitpid(child, &status, 0);
    close(from_tool[0]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(read_file(dir / "out.bin").size(), 256u);
}

}  // namespace
}  // namespace tilvex
