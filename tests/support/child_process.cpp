#include "tests/support/child_process.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

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
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    result.exited = WIFEXITED(status);
    result.exitCode = result.exited ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
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
