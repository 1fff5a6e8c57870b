#include "engine/file64.h"

#include <algorithm>
#include <array>
#include <utility>

IMPLEMENT_DYNAMIC(CFile64, CObject)

namespace {

// Windows error numbers by the cause they give; every other number is generic.
constexpr std::pair<std::int32_t, int> kCauseTable[] = {
    {0, CFileException::none},
    {2, CFileException::fileNotFound},
    {6, CFileException::fileNotFound},
    {18, CFileException::fileNotFound},
    {107, CFileException::fileNotFound},
    {3, CFileException::badPath},
    {15, CFileException::badPath},
    {17, CFileException::badPath},
    {34, CFileException::badPath},
    {52, CFileException::badPath},
    {53, CFileException::badPath},
    {55, CFileException::badPath},
    {67, CFileException::badPath},
    {70, CFileException::badPath},
    {85, CFileException::badPath},
    {111, CFileException::badPath},
    {123, CFileException::badPath},
    {124, CFileException::badPath},
    {125, CFileException::badPath},
    {144, CFileException::badPath},
    {154, CFileException::badPath},
    {161, CFileException::badPath},
    {206, CFileException::badPath},
    {208, CFileException::badPath},
    {267, CFileException::badPath},
    {4, CFileException::tooManyOpenFiles},
    {36, CFileException::tooManyOpenFiles},
    {68, CFileException::tooManyOpenFiles},
    {113, CFileException::tooManyOpenFiles},
    {5, CFileException::accessDenied},
    {12, CFileException::accessDenied},
    {19, CFileException::accessDenied},
    {29, CFileException::accessDenied},
    {54, CFileException::accessDenied},
    {58, CFileException::accessDenied},
    {64, CFileException::accessDenied},
    {65, CFileException::accessDenied},
    {71, CFileException::accessDenied},
    {80, CFileException::accessDenied},
    {82, CFileException::accessDenied},
    {86, CFileException::accessDenied},
    {170, CFileException::accessDenied},
    {183, CFileException::accessDenied},
    {999, CFileException::accessDenied},
    {11, CFileException::invalidFile},
    {26, CFileException::invalidFile},
    {60, CFileException::invalidFile},
    {66, CFileException::invalidFile},
    {114, CFileException::invalidFile},
    {182, CFileException::invalidFile},
    {191, CFileException::invalidFile},
    {193, CFileException::invalidFile},
    {16, CFileException::removeCurrentDir},
    {145, CFileException::removeCurrentDir},
    {62, CFileException::directoryFull},
    {24, CFileException::badSeek},
    {25, CFileException::badSeek},
    {27, CFileException::badSeek},
    {30, CFileException::badSeek},
    {131, CFileException::badSeek},
    {132, CFileException::badSeek},
    {20, CFileException::hardIO},
    {21, CFileException::hardIO},
    {22, CFileException::hardIO},
    {23, CFileException::hardIO},
    {57, CFileException::hardIO},
    {59, CFileException::hardIO},
    {88, CFileException::hardIO},
    {117, CFileException::hardIO},
    {995, CFileException::hardIO},
    {996, CFileException::hardIO},
    {997, CFileException::hardIO},
    {32, CFileException::sharingViolation},
    {33, CFileException::lockViolation},
    {108, CFileException::lockViolation},
    {167, CFileException::lockViolation},
    {39, CFileException::diskFull},
    {112, CFileException::diskFull},
    {38, CFileException::endOfFile},
};

// Joins the two halves the platform reports into one 64-bit value.
std::int64_t Combine(DWORD high, DWORD low) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

// The platform's failure convention for 0xFFFFFFFF results: it is a failure
// only when the thread's error number is not 0.
void CheckLowHalf(DWORD low) {
    if (low == 0xFFFFFFFF) {
        RaiseOsError(static_cast<std::int32_t>(GetLastError()), nullptr);
    }
}

}  // namespace

int CauseFromOsError(std::int32_t osError) {
    const auto* it = std::find_if(std::begin(kCauseTable), std::end(kCauseTable),
                                  [osError](const auto& entry) { return entry.first == osError; });
    return it == std::end(kCauseTable) ? CFileException::generic : it->second;
}

void RaiseOsError(std::int32_t osError, const char16_t* fileName) {
    if (osError == 0) {
        return;
    }
    throw CFileException(CauseFromOsError(osError), osError, CString(fileName));
}

CFile64::~CFile64() {
    if (m_bCloseOnDelete && IsOpen()) {
        // Nothing can be reported from here; the data still goes to the
        // medium before the handle does, as after a close.
        (void)m_writeBehind.Flush();
        CloseHandle(m_hFile);
    }
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
}

BOOL CFile64::Open(const CString& path, DWORD dwDesiredAccess, DWORD dwShareMode,
                   DWORD dwCreationDisposition, CFileException* pError,
                   LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwFlagsAndAttributes,
                   HANDLE hTemplateFile) {
    // The path is handed on in a buffer of 260 units: the path and its zero.
    std::array<char16_t, kMaxPathLength + 1> buffer{};
    DWORD error = ERROR_SUCCESS;
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (path.GetLength() > kMaxPathLength) {
        error = ERROR_FILENAME_EXCED_RANGE;
    } else {
        std::copy_n(path.GetString(), path.GetLength(), buffer.begin());
        handle = CreateFileW(reinterpret_cast<LPCWSTR>(buffer.data()), dwDesiredAccess, dwShareMode,
                             lpSecurityAttributes, dwCreationDisposition, dwFlagsAndAttributes,
                             hTemplateFile);
        if (handle == INVALID_HANDLE_VALUE) {
            error = GetLastError();
        }
    }
    if (handle == INVALID_HANDLE_VALUE) {
        if (pError != nullptr) {
            pError->m_lOsError = static_cast<std::int32_t>(error);
            pError->m_cause = CauseFromOsError(pError->m_lOsError);
            pError->m_strFileName = path;
        }
        return FALSE;
    }
    m_hFile = handle;
    m_strFileName = path;
    m_bCloseOnDelete = TRUE;
    m_writeBehind.Start(handle, (dwDesiredAccess & GENERIC_WRITE) != 0);
    return TRUE;
}

void CFile64::Close() {
    const CString path = m_strFileName;  // gone from the handle before it raises
    DWORD error = ERROR_SUCCESS;
    if (IsOpen()) {
        // The handle goes whether or not the flush worked; the flush's
        // failure is the one the user must hear of.
        error = m_writeBehind.Flush();
        if (!CloseHandle(m_hFile) && error == ERROR_SUCCESS) {
            error = GetLastError();
        }
    }
    const bool failed = error != ERROR_SUCCESS;
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
    if (failed) {
        RaiseOsError(static_cast<std::int32_t>(error), path);
    }
}

std::uint32_t CFile64::Read(void* buffer, std::uint32_t count) {
    DWORD done = 0;
    if (!ReadFile(m_hFile, buffer, count, &done, nullptr)) {
        RaiseOsError(static_cast<std::int32_t>(GetLastError()), nullptr);
    }
    return done;
}

void CFile64::Write(const void* buffer, std::uint32_t count) {
    DWORD done = 0;
    if (!WriteFile(m_hFile, buffer, count, &done, nullptr)) {
        RaiseOsError(static_cast<std::int32_t>(GetLastError()), m_strFileName);
    }
    if (done != count) {
        throw CFileException(CFileException::diskFull, -1, m_strFileName);
    }
    RaiseOsError(static_cast<std::int32_t>(m_writeBehind.AfterWrite(done)), m_strFileName);
}

std::int64_t CFile64::Seek(const std::int64_t& offset, int origin, BOOL bForward) {
    std::int64_t target = offset;
    if (origin == current || origin == end) {
        const std::int64_t base = origin == current ? GetPosition() : GetLength();
        // Two's complement arithmetic without an overflow check, done unsigned
        // so that it is defined.
        const auto ubase = static_cast<std::uint64_t>(base);
        const auto uoffset = static_cast<std::uint64_t>(offset);
        target = static_cast<std::int64_t>(bForward ? ubase + uoffset : ubase - uoffset);
    }
    const auto utarget = static_cast<std::uint64_t>(target);
    auto high = static_cast<LONG>(static_cast<std::uint32_t>(utarget >> 32));
    const DWORD low = SetFilePointer(
        m_hFile, static_cast<LONG>(static_cast<std::uint32_t>(utarget & 0xFFFFFFFFu)), &high,
        FILE_BEGIN);
    CheckLowHalf(low);
    return Combine(static_cast<DWORD>(high), low);
}

std::int64_t CFile64::GetLength() const {
    DWORD high = 0;
    const DWORD low = GetFileSize(m_hFile, &high);
    CheckLowHalf(low);
    return Combine(high, low);
}

std::int64_t CFile64::GetPosition() const {
    LONG high = 0;
    const DWORD low = SetFilePointer(m_hFile, 0, &high, FILE_CURRENT);
    CheckLowHalf(low);
    return Combine(static_cast<DWORD>(high), low);
}

void CFile64::SetLength(std::uint64_t newLength) {
    Seek(static_cast<std::int64_t>(newLength), begin, TRUE);
    if (!SetEndOfFile(m_hFile)) {
        RaiseOsError(static_cast<std::int32_t>(GetLastError()), m_strFileName);
    }
}
