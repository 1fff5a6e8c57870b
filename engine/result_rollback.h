// Takes a failed or cancelled press of the tenth row back out of `temp`.
#pragma once

#include <cstdint>

#include "engine/file64.h"
#include "framework/core/string.h"

// The tenth piece goes to the end of `temp`. Bytes that a press of it left
// there before it failed or was cancelled would move the end, and the next
// press of the row would write after them: a result that is too long, or a
// row that is refused for ever. So, unless Completed() was called, the
// destructor cuts `temp` back to the length it had when the press began;
// only that press's bytes go. While the result is still open the cut goes
// through its handle; when the press failed at closing it (the handle is
// gone), `temp` is opened again, exclusively and only if it exists.
//
// A cut that fails is dropped: the press's own failure is what the user sees,
// and the next press of the row is then refused with the size message.
class ResultRollback {
public:
    ResultRollback(CFile64& result, const CString& resultPath, std::int64_t lengthBefore);
    ~ResultRollback();
    ResultRollback(const ResultRollback&) = delete;
    ResultRollback& operator=(const ResultRollback&) = delete;

    // The press wrote its whole piece: `temp` stays as it is.
    void Completed() { m_armed = false; }

private:
    void CutBack(CFile64& file) const;

    CFile64& m_result;
    CString m_resultPath;
    std::int64_t m_lengthBefore;
    bool m_armed = true;
};
