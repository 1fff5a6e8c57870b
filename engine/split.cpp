#include "engine/split.h"

#include "engine/room_check.h"
#include "platform/path_lookup.h"

namespace {

constexpr const char16_t* kSourceReadMessage =
    u"ファイル「%s」がリードできません。ファイルが存在するか。アクセス権があるか。"
    u"他のアプリによりロックされていないか等々を確認してください。";
constexpr const char16_t* kPieceExistsMessage = u"既にファイル「%s」は存在します。";
constexpr const char16_t* kPieceCreateMessage =
    u"ファイル「%s」を作成できません。アクセス権があるか。ディレクトリが存在するか、"
    u"等々を確認してください。";

}  // namespace

std::int32_t PathProbe(const CString& path) {
    switch (LookUpPathEntry(path)) {
        case PathEntryKind::nothing:
            return 0;
        case PathEntryKind::file:
            return 1;
        case PathEntryKind::directory:
            return 2;
        case PathEntryKind::dotEntry:
            return 3;
    }
    return 0;
}

TransferResult SplitPiece(TransferHost& host, int row) {
    if (!PassStartCheck()) {
        return kTransferFailed;
    }
    TransferBuffer buffer;

    const CString sourcePath = host.GetFieldText(IDC_SOURCE_PATH);
    const CString folder = host.GetFieldText(FolderFieldOfRow(row));
    const CString piecePath = PiecePath(folder, row);

    CFile64 source;
    // Only a file on a medium has a size to divide: a device or a pipe has
    // none, and its pieces would be reported done holding nothing of use.
    if (!OpenForReading(source, sourcePath) || GetFileType(source.m_hFile) != FILE_TYPE_DISK) {
        ShowPathMessage(host, kSourceReadMessage, sourcePath);
        return kTransferFailed;
    }
    CFile64 piece;
    if (!OpenForWriting(piece, piecePath, CREATE_NEW)) {
        const bool exists = PathProbe(piecePath) != 0;
        ShowPathMessage(host, exists ? kPieceExistsMessage : kPieceCreateMessage, piecePath);
        return kTransferFailed;
    }

    const RunningTransfer running;
    const std::int64_t sourceSize = QueryFileSizeByPath(source.GetFilePath());
    if (sourceSize < 0) {
        // Without the size no piece boundary is known; writing pieces from a
        // guessed size would hand the user empty pieces reported as done.
        RemoveUnwrittenFile(piece, piecePath);
        ShowPathMessage(host, kSourceReadMessage, sourcePath);
        return kTransferFailed;
    }
    const std::int64_t pieceLength = sourceSize / kPieceCount;
    const std::int64_t offset = (row - 1) * pieceLength;
    const std::int64_t length =
        row == kPieceCount ? pieceLength + sourceSize % kPieceCount : pieceLength;
    if (const CString refusal = RoomRefusal(folder, piecePath, length, length);
        !refusal.IsEmpty()) {
        RemoveUnwrittenFile(piece, piecePath);
        host.ShowError(refusal);
        return kTransferFailed;
    }
    source.Seek(offset, CFile64::begin, TRUE);
    return CopyLoop(host, source, piece, buffer, length);
}
