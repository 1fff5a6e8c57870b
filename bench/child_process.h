// Runs one standard tool (split, cat, dd, cmp, mkfs) as a child process and
// waits for it. The tools are found on PATH; their output goes where ours
// goes, unless it is sent to a file that must not exist yet.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class ChildProcess {
public:
    explicit ChildProcess(std::vector<std::string> argv) : m_argv(std::move(argv)) {}

    // Sends the child's standard output to `path`, created new: an existing
    // file there is never truncated.
    ChildProcess& StdoutTo(const std::filesystem::path& path) {
        m_stdoutPath = path;
        return *this;
    }

    // Runs the child to its end and returns its exit status. Raises
    // BenchError when it cannot be started or was killed by a signal. An
    // interrupt of the benchmark is passed on to the child.
    int Run() const;
    // Runs it and raises BenchError unless it exits with 0.
    void RunChecked() const;

    // The command line as one text, for messages.
    std::string CommandLine() const;

private:
    std::vector<std::string> m_argv;
    std::optional<std::filesystem::path> m_stdoutPath;
};

// The check of a round trip: two files the same byte for byte, compared by
// the standard cmp, independently of the program under test. Raises
// BenchError "<what>: <actual> differs from <expected>" when they differ, or
// naming the command when cmp fails.
void CheckSameFile(const std::filesystem::path& expected, const std::filesystem::path& actual,
                   const std::string& what);
