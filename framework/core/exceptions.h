// The framework's exception family. Exceptions are thrown by value and caught
// by reference; the message dispatch of the window reports each kind in its
// own way (a file error box, an out-of-memory box, or nothing).
#pragma once

#include <cstdint>

#include "framework/core/message_box_style.h"
#include "framework/core/object.h"
#include "framework/core/string.h"

// The longest message the error box shows; longer ones are cut.
inline constexpr int kMaxShownMessage = 511;

// Base of the family. GetErrorMessage gives the text the user is shown.
class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    virtual CString GetErrorMessage() const;
};

// A failure of a file operation: what kind (cause), the platform's error
// number behind it (-1 when the program detected it), and the path concerned
// (empty when the raising operation attached none).
class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none = 0,
        generic = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    CFileException() = default;
    CFileException(int cause, std::int32_t osError, const CString& fileName = CString())
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

    // The cause's template with the file name (or "無題のﾌｧｲﾙ") in place of %1.
    CString GetErrorMessage() const override;

    int m_cause = none;
    std::int32_t m_lOsError = -1;
    CString m_strFileName;
};

// Memory for an operation could not be had.
class CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    CString GetErrorMessage() const override;
};

// A failure that was already shown to the user; reported by nobody.
class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
};

// The framework's own strings, by resource id.
inline constexpr unsigned kIdsUntitledFile = 0xF006;       // "無題のﾌｧｲﾙ"
inline constexpr unsigned kIdsMemoryException = 0xF023;    // "ﾒﾓﾘが不足しています。"
inline constexpr unsigned kIdsFileExceptionBase = 0xF1A0;  // + cause: message templates
// The text of a framework string resource; empty for an unknown id.
CString LoadFrameworkString(unsigned id);

// How the message dispatch reports an exception that left a handler.
struct FailureReport {
    bool show = false;   // false: nothing is shown (a CUserException)
    CString text;        // at most kMaxShownMessage units
    unsigned style = 0;  // message box style: icon, buttons, modality
};
FailureReport DescribeFailure(const CException& e);
