#include "tests/support/temp_dir.h"

#include <algorithm>

#include <cstdlib>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <fstream>
#include <random>
#include <stdexcept>

#include "engine/piece_layout.h"

TempDir::TempDir() : TempDir(std::filesystem::temp_directory_path()) {}

TempDir::TempDir(const std::filesystem::path& base, const std::string& prefix) {
    // A random name, created exclusively: create_directory reports an existing
    // folder, so two tests never share one.
    std::random_device entropy;
    std::mt19937_64 random(entropy());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            base / (prefix + std::to_string(random() % 1000000000000ull));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder under " + base.string());
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path FastTempBase() {
#ifndef _WIN32
    // Linux's shared-memory folder is a memory file system on every
    // distribution; writing there costs no disk time.
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error) && ::access("/dev/shm", W_OK) == 0) {
        return "/dev/shm";
    }
#endif
    return std::filesystem::temp_directory_path();
}

CString TempDir::Child(const std::string& name) const {
    return ToCString(m_path / name);
}

CString TempDir::Path() const {
    return ToCString(m_path);
}

CString ToCString(const std::filesystem::path& p) {
    return CString(p.u16string());
}

std::filesystem::path PieceFile(const std::filesystem::path& folder, int row) {
    return std::filesystem::path(PiecePath(ToCString(folder), row).str());
}

std::vector<unsigned char> ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + file.string());
    }
    // In blocks: tens of megabytes byte by byte would cost seconds.
    std::vector<unsigned char> bytes;
    constexpr std::size_t kBlock = 1 << 20;
    for (;;) {
        const std::size_t done = bytes.size();
        bytes.resize(done + kBlock);
        in.read(reinterpret_cast<char*>(bytes.data() + done), kBlock);
        bytes.resize(done + static_cast<std::size_t>(in.gcount()));
        if (!in) {
            return bytes;
        }
    }
}

void WriteAll(const std::filesystem::path& file, const std::vector<unsigned char>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::vector<unsigned char> PatternBytes(std::size_t size, unsigned pattern) {
    std::vector<unsigned char> bytes(size);
    std::mt19937 generator(pattern);
    for (auto& b : bytes) {
        b = static_cast<unsigned char>(generator());
    }
    return bytes;
}

void MakeSparseFile(const std::filesystem::path& file, std::uint64_t size) {
    { std::ofstream touch(file, std::ios::binary | std::ios::trunc); }
    std::filesystem::resize_file(file, size);
}

int RunCommand(const std::string& command) {
    const int status = std::system(command.c_str());
#ifdef _WIN32
    return status;
#else
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

std::vector<std::string> Entries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

#ifndef _WIN32
int CountOpenDescriptors() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}
#endif
