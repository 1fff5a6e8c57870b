#include "bench/scoped_work_dir.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_error.h"

ScopedWorkDir::ScopedWorkDir(const std::filesystem::path& parent)
    : m_parent(std::filesystem::absolute(parent)) {
    std::error_code error;
    if (!std::filesystem::exists(m_parent, error)) {
        // One level only: a mistyped --dir should not grow a tree of folders.
        if (!std::filesystem::create_directory(m_parent, error)) {
            throw BenchError("cannot create the work folder's parent " + m_parent.string() + ": " +
                             error.message());
        }
        m_createdParent = true;
    } else if (!std::filesystem::is_directory(m_parent, error)) {
        throw BenchError("the work folder's parent " + m_parent.string() + " is not a folder");
    }

    std::string pattern = (m_parent / "tesserak-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        const int saved = errno;
        if (m_createdParent) {
            std::filesystem::remove(m_parent, error);
        }
        throw BenchError(
            DescribeErrno("cannot create a work folder in " + m_parent.string(), saved));
    }
    m_path = pattern;
}

ScopedWorkDir::~ScopedWorkDir() {
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
    if (error) {
        std::fprintf(stderr, "tesserak_bench: could not remove the work folder %s: %s\n",
                     m_path.c_str(), error.message().c_str());
    }
    if (m_createdParent && std::filesystem::is_empty(m_parent, error)) {
        std::filesystem::remove(m_parent, error);
    }
}
