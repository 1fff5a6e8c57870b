// CFile64: the program's handle on one open file, with 64-bit positions and
// lengths for files far beyond 4 GiB.
//
// Contract: Open reports failure by its result (and, when asked, in an error
// record) and never raises. Every failure after a successful open raises a
// CFileException (see each operation). Each Read and Write is exactly one
// platform call on the caller's buffer; the handle buffers nothing. An open
// handle is closed when the object is destroyed. Objects are never copied.
#pragma once

#include <cstdint>

#include "framework/core/exceptions.h"
#include "framework/core/object.h"
#include "framework/core/string.h"
#include "platform/file_api.h"
#include "platform/write_behind.h"

// The longest full path the handle accepts, in UTF-16 units.
inline constexpr int kMaxPathLength = 259;

class CFile64 : public CObject {
    DECLARE_DYNAMIC(CFile64)
public:
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    CFile64() = default;
    CFile64(const CFile64&) = delete;
    CFile64& operator=(const CFile64&) = delete;
    // Closes an open handle; a failure of that close is dropped, since no
    // exception may leave a destructor.
    ~CFile64() override;

    // Opens `path` with the platform's options. TRUE when opened. On failure
    // returns FALSE, leaves the object as it was and, when `pError` is given,
    // fills it with the cause, the platform error number and the path. A path
    // longer than kMaxPathLength is refused with cause badPath (error 206).
    BOOL Open(const CString& path, DWORD dwDesiredAccess, DWORD dwShareMode,
              DWORD dwCreationDisposition, CFileException* pError = nullptr,
              LPSECURITY_ATTRIBUTES lpSecurityAttributes = nullptr,
              DWORD dwFlagsAndAttributes = FILE_ATTRIBUTE_NORMAL, HANDLE hTemplateFile = nullptr);

    // Always leaves the handle not open. A file opened for writing is first
    // flushed, so that when Close returns its data is on the medium. Raises
    // with the file's path when the flush or the platform close failed (for
    // a written file that is most often where a failing medium shows, so the
    // box must say which file it was).
    void Close();
    // Bytes read: fewer than `count` near the end, 0 at the end. Raises
    // without a file name when the platform read fails.
    std::uint32_t Read(void* buffer, std::uint32_t count);
    // Raises with the file's path when the platform write fails, and with
    // cause diskFull and OS error -1 when it took fewer bytes than asked.
    // Keeps the medium close behind the writes (WriteBehind): raises with the
    // file's path when it reports that written data could not be stored.
    void Write(const void* buffer, std::uint32_t count);
    // Moves to `offset` from `origin`; for `current` and `end` the offset is a
    // magnitude whose direction `bForward` gives. Returns the new position.
    std::int64_t Seek(const std::int64_t& offset, int origin, BOOL bForward);
    std::int64_t GetLength() const;
    std::int64_t GetPosition() const;
    // Makes the file `newLength` bytes long, cutting off or adding at its end,
    // and leaves the position there. Raises with the file's path when the
    // platform cannot; a failing move raises as Seek does.
    void SetLength(std::uint64_t newLength);

    // The path of the last successful Open; empty when not open.
    const CString& GetFilePath() const { return m_strFileName; }
    bool IsOpen() const { return m_hFile != INVALID_HANDLE_VALUE; }

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    BOOL m_bCloseOnDelete = FALSE;
    CString m_strFileName;
    // Follows the handle while it is open for writing.
    WriteBehind m_writeBehind;
};

// Raises a CFileException for a platform error number, with `fileName` (may be
// null) as its path. Returns without raising when the number is 0.
void RaiseOsError(std::int32_t osError, const char16_t* fileName);

// The cause code of a Windows error number; numbers not listed give generic.
int CauseFromOsError(std::int32_t osError);
