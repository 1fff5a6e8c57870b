// Running part of a test in a child process (Linux): for limits, mounts and
// deaths that must not reach the test program itself.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

struct ChildResult {
    bool exited = false;  // false: ended by a signal
    int exitCode = -1;
    int signal = 0;
    std::string report;  // what the body returned
};

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
