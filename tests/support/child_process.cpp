#include "tests/support/child_process.h"

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <system_error>

extern char** environ;

namespace {

// Waits for `pid` to end; see RunProgram for `interrupted`. Neither exited
// nor signalled when it cannot be waited for.
ChildResult WaitFor(pid_t pid, const std::function<bool()>& interrupted) {
    int status = 0;
    bool passedOn = false;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return {};
        }
        // A terminal's Ctrl-C reaches the child too; a SIGTERM sent to the
        // parent alone does not, so it is passed on and the child ends first.
        if (!passedOn && interrupted && interrupted()) {
            ::kill(pid, SIGTERM);
            passedOn = true;
        }
    }
    ChildResult result;
    result.exited = WIFEXITED(status);
    result.exitCode = result.exited ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return result;
}

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

ChildResult RunProgram(const std::vector<std::string>& argv, const std::filesystem::path& stdoutTo,
                       const std::function<bool()>& interrupted) {
    std::vector<char*> args;
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    SpawnFileActions actions;
    if (!stdoutTo.empty()) {
        posix_spawn_file_actions_addopen(actions.get(), 1, stdoutTo.c_str(),
                                         O_WRONLY | O_CREAT | O_EXCL, 0644);
    }
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, args[0], actions.get(), nullptr, args.data(), environ);
    if (error != 0) {
        throw std::system_error(error, std::generic_category(), "cannot start " + argv[0]);
    }
    return WaitFor(pid, interrupted);
}

ChildResult RunInChild(const std::function<std::string()>& body) {
    int channel[2];
    ChildResult result;
    if (::pipe(channel) != 0) {
        result.report = "no pipe to a child";
        return result;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(channel[0]);
        std::string report;
        try {
            report = body();
        } catch (...) {
            report = "the child's body raised an exception";
        }
        const char* at = report.data();
        std::size_t left = report.size();
        while (left > 0) {
            const ssize_t written = ::write(channel[1], at, left);
            if (written <= 0) {
                break;
            }
            at += written;
            left -= static_cast<std::size_t>(written);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    char block[4096];
    for (ssize_t got; (got = ::read(channel[0], block, sizeof block)) != 0;) {
        if (got < 0) {
            continue;  // interrupted; the child's end closes when it is gone
        }
        result.report.append(block, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    const std::string report = std::move(result.report);
    result = WaitFor(pid, {});
    result.report = report;
    return result;
}

bool EnterPrivateMountNamespace() {
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

bool MountMemoryFileSystem(const std::filesystem::path& folder, const std::string& size,
                           bool readOnly) {
    const std::string options = "size=" + size + ",mode=0755";
    return ::mount("tesserak-test", folder.c_str(), "tmpfs", readOnly ? MS_RDONLY : 0,
                   options.c_str()) == 0;
}

bool MakeReadOnly(const std::filesystem::path& folder) {
    return ::mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
           ::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) ==
               0;
}
