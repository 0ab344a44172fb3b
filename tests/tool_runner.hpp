// Runs the built tool the way a user does, from a shell in a scratch directory, and
// snapshots a directory so a test can tell which files a run changed.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <map>
#include <string>

#include "test_support.hpp"

namespace tilvex::testing {

struct ToolRun {
    int status;
    std::string output;
};

// Runs the tool in `dir` with the shell-quoted `arguments`. By default `answers` is its
// standard input and its standard output is captured; the two redirections can be
// replaced, for example by "<&-" or ">&-" to start it with the stream closed.
inline ToolRun run_tool(const ScratchDir& dir, const std::string& arguments,
                        const std::string& answers = "",
                        const std::string& stdin_redirect = "< .stdin",
                        const std::string& stdout_redirect = "> .stdout") {
    write_file(dir / ".stdin", Bytes(answers.begin(), answers.end()));
    const std::string command = "cd '" + dir.path().string() + "' && '" TILVEX_BINARY "' " +
                                arguments + " " + stdin_redirect + " " + stdout_redirect;
    const int status = std::system(command.c_str());
    const Bytes out = read_file(dir / ".stdout");
    std::filesystem::remove(dir / ".stdin");
    std::filesystem::remove(dir / ".stdout");
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(out.begin(), out.end())};
}

// Every regular file below `dir`, by path relative to it, with its content.
inline std::map<std::string, Bytes> snapshot(const std::filesystem::path& dir) {
    std::map<std::string, Bytes> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file() && !entry.is_symlink()) {
            files[std::filesystem::relative(entry.path(), dir).string()] = read_file(entry.path());
        }
    }
    return files;
}

}  // namespace tilvex::testing
