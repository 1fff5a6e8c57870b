#include "bench/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <csignal>

#include "bench/bench_error.h"
#include "bench/interrupt_flag.h"

extern char** environ;

namespace {

// posix_spawn's file actions, released on every way out.
class SpawnFileActions {
public:
    SpawnFileActions() { posix_spawn_file_actions_init(&m_actions); }
    ~SpawnFileActions() { posix_spawn_file_actions_destroy(&m_actions); }
    SpawnFileActions(const SpawnFileActions&) = delete;
    SpawnFileActions& operator=(const SpawnFileActions&) = delete;
    posix_spawn_file_actions_t* get() { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
};

}  // namespace

std::string ChildProcess::CommandLine() const {
    std::string line;
    for (const auto& arg : m_argv) {
        line += (line.empty() ? "" : " ") + arg;
    }
    if (m_stdoutPath) {
        line += " > " + m_stdoutPath->string();
    }
    return line;
}

int ChildProcess::Run() const {
    InterruptFlag::ThrowIfRaised(CommandLine().c_str());
    std::vector<char*> argv;
    for (const auto& arg : m_argv) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    SpawnFileActions actions;
    if (m_stdoutPath) {
        posix_spawn_file_actions_addopen(actions.get(), 1, m_stdoutPath->c_str(),
                                         O_WRONLY | O_CREAT | O_EXCL, 0644);
    }
    pid_t pid = 0;
    const int spawnError =
        posix_spawnp(&pid, argv[0], actions.get(), nullptr, argv.data(), environ);
    if (spawnError != 0) {
        throw BenchError(DescribeErrno("cannot start '" + CommandLine() + "'", spawnError));
    }

    int status = 0;
    bool passedOn = false;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            throw BenchError(DescribeErrno("cannot wait for '" + CommandLine() + "'", errno));
        }
        // A terminal's Ctrl-C reaches the child too; a SIGTERM sent to us
        // alone does not, so pass it on and let the child end first.
        if (InterruptFlag::Raised() && !passedOn) {
            ::kill(pid, SIGTERM);
            passedOn = true;
        }
    }
    InterruptFlag::ThrowIfRaised(CommandLine().c_str());
    if (WIFSIGNALED(status)) {
        throw BenchError("'" + CommandLine() + "' was killed by signal " +
                         std::to_string(WTERMSIG(status)));
    }
    return WEXITSTATUS(status);
}

void ChildProcess::RunChecked() const {
    const int status = Run();
    if (status != 0) {
        throw BenchError("'" + CommandLine() + "' failed with exit status " +
                         std::to_string(status));
    }
}

void CheckSameFile(const std::filesystem::path& expected, const std::filesystem::path& actual,
                   const std::string& what) {
    // cmp names the first differing byte on its own output.
    const ChildProcess compare({"cmp", expected.string(), actual.string()});
    const int status = compare.Run();
    if (status == 1) {
        throw BenchError(what + ": " + actual.string() + " differs from " + expected.string());
    }
    if (status != 0) {
        throw BenchError("'" + compare.CommandLine() + "' failed with exit status " +
                         std::to_string(status));
    }
}
