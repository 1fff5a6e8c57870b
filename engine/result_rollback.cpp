#include "engine/result_rollback.h"

#include "engine/transfer.h"

ResultRollback::ResultRollback(CFile64& result, const CString& resultPath,
                               std::int64_t lengthBefore)
    : m_result(result), m_resultPath(resultPath), m_lengthBefore(lengthBefore) {}

ResultRollback::~ResultRollback() {
    if (!m_armed) {
        return;
    }
    // Nothing may leave a destructor, least of all while the press's own
    // file exception is passing through.
    try {
        if (m_result.IsOpen()) {
            CutBack(m_result);
            return;
        }
        CFile64 reopened;
        // As the press opened it: never through a link planted meanwhile.
        if (OpenForWriting(reopened, m_resultPath, OPEN_EXISTING)) {
            CutBack(reopened);
            reopened.Close();
        }
    } catch (...) {
    }
}

void ResultRollback::CutBack(CFile64& file) const {
    // Only ever shorter: what `temp` held before the press stays untouched.
    if (file.GetLength() > m_lengthBefore) {
        file.SetLength(static_cast<std::uint64_t>(m_lengthBefore));
    }
}
