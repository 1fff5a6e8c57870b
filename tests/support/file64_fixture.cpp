#include "tests/support/file64_fixture.h"

#include <algorithm>
#include <fstream>

namespace fs = std::filesystem;

void PrintTo(const Raised& r, std::ostream* os) {
    if (!r.raised) {
        *os << "{nothing raised}";
        return;
    }
    *os << "{cause " << r.cause << ", OS error " << r.osError << ", file \"" << r.fileName
        << "\", message \"" << r.message << "\"}";
}

Raised Describe(const CFileException& e) {
    return Raised{true, e.m_cause, e.m_lOsError, e.m_strFileName.ToUtf8(),
                  e.GetErrorMessage().ToUtf8()};
}

Raised Expected(int cause, std::int32_t osError, const std::string& fileName,
                const std::string& message) {
    return Raised{true, cause, osError, fileName, message};
}

BOOL OpenSource(CFile64& f, const CString& path, CFileException* e) {
    return f.Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, e, nullptr,
                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

BOOL CreatePiece(CFile64& f, const CString& path, CFileException* e) {
    return f.Open(path, GENERIC_WRITE, 0, CREATE_NEW, e, nullptr, FILE_FLAG_SEQUENTIAL_SCAN,
                  nullptr);
}

BOOL OpenResult(CFile64& f, const CString& path, CFileException* e) {
    return f.Open(path, GENERIC_WRITE, 0, OPEN_ALWAYS, e, nullptr, FILE_FLAG_SEQUENTIAL_SCAN,
                  nullptr);
}

void ExpectNotOpen(const CFile64& f) {
    EXPECT_FALSE(f.IsOpen());
    EXPECT_EQ(f.m_hFile, INVALID_HANDLE_VALUE);
    EXPECT_EQ(f.m_bCloseOnDelete, FALSE);
    EXPECT_TRUE(f.m_strFileName.IsEmpty());
}

std::vector<unsigned char> Slice(const std::vector<unsigned char>& bytes, std::size_t from,
                                 std::size_t count) {
    return std::vector<unsigned char>(bytes.begin() + static_cast<std::ptrdiff_t>(from),
                                      bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
}

std::vector<unsigned char> ReadAt(const fs::path& file, std::uint64_t offset, std::size_t count) {
    std::ifstream in(file, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::vector<unsigned char> bytes(count);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}
