#include "engine/join.h"

#include <algorithm>
#include <optional>

#include "engine/piece_layout.h"
#include "engine/result_rollback.h"
#include "engine/room_check.h"
#include "platform/path_lookup.h"

namespace {

constexpr const char16_t* kPieceReadMessage =
    u"ファイル「%s」がリードできません。ファイルが存在するか。アクセス権があるか。"
    u"他のアプリによりロックされていないかを確認してください。";
constexpr const char16_t* kResultWriteMessage =
    u"ファイル「%s」へ書き込みできません。アクセス権があるか。"
    u"他のアプリによりロックされていないかを確認してください。";
constexpr const char16_t* kSizeMessage = u"ファイルサイズ異常です。";

}  // namespace

TransferResult JoinPiece(TransferHost& host, int row) {
    if (!PassStartCheck()) {
        return kTransferFailed;
    }
    TransferBuffer buffer;

    const CString piecePath = PiecePath(host.GetFieldText(FolderFieldOfRow(row)), row);
    const CString destination = host.GetFieldText(IDC_DEST_FOLDER);
    const CString resultPath = ResultPath(destination);

    // The piece is opened first, so a missing piece leaves the destination
    // untouched.
    CFile64 piece;
    if (!OpenForReading(piece, piecePath)) {
        ShowPathMessage(host, kPieceReadMessage, piecePath);
        return kTransferFailed;
    }
    CFile64 result;
    bool resultCreated = false;
    if (!OpenForWriting(result, resultPath, OPEN_ALWAYS, &resultCreated)) {
        ShowPathMessage(host, kResultWriteMessage, resultPath);
        return kTransferFailed;
    }

    // A `temp` this press made may get a later piece first: the gap before
    // it is left as a hole, not filled with zeros, so row 9 of a 100 GB file
    // writes its own 10 GB and no more. One that was there is left as it is.
    if (resultCreated) {
        (void)MakeSparse(result.m_hFile);
    }

    const RunningTransfer running;
    const std::int64_t pieceSize = QueryFileSizeByPath(piecePath);
    const std::int64_t resultSize = QueryFileSizeByPath(resultPath);
    // Both files were opened a moment ago; a size that cannot be had leaves
    // no place the piece could safely go.
    if (pieceSize < 0 || resultSize < 0) {
        host.ShowError(kSizeMessage);
        return kTransferFailed;
    }

    std::int64_t offset;
    if (row < kPieceCount) {
        offset = (row - 1) * pieceSize;
    } else {
        // The tenth piece goes to the end, which must be where nine pieces of
        // its size less 0 to 9 bytes end. Nine equal pieces always end at a
        // multiple of 9, which most leftovers of an interrupted press miss.
        if (resultSize < 9 * (pieceSize - 9) || resultSize > 9 * pieceSize || resultSize % 9 != 0) {
            host.ShowError(kSizeMessage);
            return kTransferFailed;
        }
        offset = resultSize;
    }

    // Only what goes beyond `temp`'s end needs new room (the gap before a
    // piece joined out of order included: the finished file needs it): a
    // piece pressed again, or after a cancelled press, rewrites space it
    // already has. A hole inside `temp` that a press fills is the full-disk
    // error's to report, should the medium not hold it.
    const std::int64_t resultEnd = std::max(resultSize, offset + pieceSize);
    if (const CString refusal =
            RoomRefusal(destination, resultPath, resultEnd - resultSize, resultEnd);
        !refusal.IsEmpty()) {
        if (resultCreated) {
            RemoveUnwrittenFile(result, resultPath);
        }
        host.ShowError(refusal);
        return kTransferFailed;
    }

    if (result.Seek(offset, CFile64::begin, TRUE) != offset ||
        piece.Seek(0, CFile64::begin, TRUE) != 0) {
        host.ShowError(kSizeMessage);
        return kTransferFailed;
    }
    std::optional<ResultRollback> rollback;
    if (row == kPieceCount) {
        rollback.emplace(result, resultPath, resultSize);
    }
    const TransferResult outcome = CopyLoop(host, piece, result, buffer, pieceSize);
    if (outcome == kTransferCompleted && rollback) {
        rollback->Completed();
    }
    return outcome;
}
