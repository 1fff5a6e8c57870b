#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <stdexcept>

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tesserak-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder at " + pattern);
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

CString TempDir::Child(const std::string& name) const {
    return ToCString(m_path / name);
}

CString TempDir::Path() const {
    return ToCString(m_path);
}

CString ToCString(const std::filesystem::path& p) {
    return CString::FromUtf8(p.string());
}

std::vector<unsigned char> ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + file.string());
    }
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::filesystem::path& file, const std::vector<unsigned char>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::vector<unsigned char> PatternBytes(std::size_t size, unsigned seed) {
    std::vector<unsigned char> bytes(size);
    std::mt19937 generator(seed);
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
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
