// Child processes (Linux), for the tests and the benchmark alike: a program
// run to its end (the standard tools), and part of a test run in a forked
// child, for limits, mounts and deaths that must not reach the test program.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct ChildResult {
    bool exited = false;  // false: ended by a signal
    int exitCode = -1;
    int signal = 0;
    std::string report;  // what the body returned
};

// Runs `argv` (argv[0] found on PATH) to its end, its standard output sent
// to `stdoutTo` when that is given, created new: an existing file there is
// never truncated. When a signal cuts the wait short (its handler installed
// without SA_RESTART) and `interrupted` then says so, SIGTERM is passed on to
// the program once, and the wait goes on until it ends. Raises
// std::system_error naming the program when it cannot be started.
ChildResult RunProgram(const std::vector<std::string>& argv,
                       const std::filesystem::path& stdoutTo = {},
                       const std::function<bool()>& interrupted = {});

// Runs `body` in a forked child and returns how the child ended and what the
// body returned; a body says "" when everything was as expected, else what
// was not. The child never returns into the test program.
ChildResult RunInChild(const std::function<std::string()>& body);

// In a child: a mount namespace of its own, whose mounts nobody else sees and
// which go with the child. False when the system refuses (not root, or no
// namespaces here).
bool EnterPrivateMountNamespace();
// In such a child: a memory file system of `size` ("3m") at `folder`.
bool MountMemoryFileSystem(const std::filesystem::path& folder, const std::string& size,
                           bool readOnly);
// In such a child: `folder` seen read-only from now on.
bool MakeReadOnly(const std::filesystem::path& folder);
