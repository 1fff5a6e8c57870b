#include "tests/support/main_dialog_fixture.h"

#include <string>

#include "engine/piece_layout.h"
#include "engine/transfer.h"

namespace fs = std::filesystem;

std::vector<CString> Captions(const CDialog& dlg) {
    std::vector<CString> captions;
    for (int row = 1; row <= kRows; ++row) {
        captions.push_back(dlg.GetDlgItemText(RowButton(row)));
    }
    return captions;
}

std::vector<int> EnabledRows(const CDialog& dlg) {
    std::vector<int> rows;
    for (int row = 1; row <= kRows; ++row) {
        if (dlg.IsDlgItemEnabled(RowButton(row))) {
            rows.push_back(row);
        }
    }
    return rows;
}

std::vector<CString> CaptionsExcept(const char16_t* each, const std::map<int, CString>& rows) {
    std::vector<CString> captions(kRows, CString(each));
    for (const auto& [row, caption] : rows) {
        captions[row - 1] = caption;
    }
    return captions;
}

void ExpectMode(const CSplitJoinDlg& dlg, bool split) {
    EXPECT_EQ(dlg.IsSplitMode(), split);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MODE_SPLIT), split ? 1u : 0u);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MODE_JOIN), split ? 0u : 1u);
    EXPECT_EQ(dlg.IsDlgItemEnabled(IDC_SOURCE_GROUP), split);
    EXPECT_EQ(dlg.IsDlgItemEnabled(IDC_SOURCE_PATH), split);
    for (int id : {IDC_DEST_GROUP, IDC_DEST_FOLDER, IDC_DEST_NAME, IDC_DEST_NOTE}) {
        EXPECT_EQ(dlg.IsDlgItemEnabled(id), !split) << id;
    }
    EXPECT_EQ(Captions(dlg), CaptionsExcept(split ? u"分割開始" : u"結合開始", {}));
    for (int n = 1; n <= kRows; ++n) {
        CString label;
        label.Format(split ? u"分割ファイル%dつ目" : u"結合するファイル%dつ目", n);
        EXPECT_EQ(dlg.GetDlgItemText(IDC_ROW_LABEL_1 + n - 1), label) << n;
    }
    // The radio buttons are never disabled.
    EXPECT_TRUE(dlg.IsDlgItemEnabled(IDC_MODE_SPLIT));
    EXPECT_TRUE(dlg.IsDlgItemEnabled(IDC_MODE_JOIN));
}

void PressesTest::SetUp() {
    source = dir.path() / "source.bin";
    destination = dir.path() / "joined";
    fs::create_directory(destination);
    for (int row = 1; row <= kRows; ++row) {
        folders.push_back(dir.path() / ("card" + std::to_string(row)));
        fs::create_directory(folders.back());
    }
    TransferState = kTransferIdle;
}

void PressesTest::WriteSource(std::size_t size) {
    bytes = PatternBytes(size, 7);
    WriteAll(source, bytes);
}

void PressesTest::FillFields(CDialog& d) const {
    d.SetDlgItemText(IDC_SOURCE_PATH, ToCString(source));
    for (int row = 1; row <= kRows; ++row) {
        d.SetDlgItemText(FolderFieldOfRow(row), ToCString(folders[row - 1]));
    }
    d.SetDlgItemText(IDC_DEST_FOLDER, ToCString(destination));
}

fs::path PressesTest::Piece(int row) const {
    return PieceFile(folders[row - 1], row);
}

std::vector<unsigned char> PressesTest::ExpectedPiece(int row) const {
    const std::size_t length = bytes.size() / kRows;
    const std::size_t begin = length * (row - 1);
    const std::size_t end = row == kRows ? bytes.size() : begin + length;
    return {bytes.begin() + begin, bytes.begin() + end};
}

std::vector<unsigned char> PressesTest::ExpectedPiecePrefix(int row, std::size_t length) const {
    std::vector<unsigned char> piece = ExpectedPiece(row);
    piece.resize(length);
    return piece;
}
