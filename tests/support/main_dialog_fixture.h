// What the main dialog's behaviour tests share: the rows as the user reads
// them, the check of everything a mode shows, and a test folder with a
// source file, ten row folders and a destination for presses on real files.
// Only the window driver, CDialog's API and the standard library, so that
// it builds for every window system.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <map>
#include <vector>

#include "tests/support/observed_dialog.h"
#include "tests/support/recorded_boxes.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_driver.h"

inline constexpr std::size_t kMiB = 1 << 20;
inline constexpr int kRows = 10;
inline const std::vector<int> kAllRows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

// The ten part-button captions, row 1 first.
std::vector<CString> Captions(const CDialog& dlg);
// The rows whose part buttons are enabled.
std::vector<int> EnabledRows(const CDialog& dlg);
// Ten captions `each`, but `rows` (row: caption) as given.
std::vector<CString> CaptionsExcept(const char16_t* each, const std::map<int, CString>& rows);
// Expects what `dlg` shows of split mode (`split`) or join mode: the mode
// rule, the radio buttons, the enabled source and destination controls, the
// ten captions and row labels.
void ExpectMode(const CSplitJoinDlg& dlg, bool split);

// A fresh folder with `source.bin`, `card1` .. `card10` and `joined`, and the
// main dialog with a window onto its pumps; every box is recorded.
class PressesTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Writes `size` bytes of a fixed pattern as the source.
    void WriteSource(std::size_t size);
    // Names the source, the ten folders and the destination in `d`'s fields.
    void FillFields(CDialog& d) const;
    void FillFields() { FillFields(dlg); }
    // Where row `row`'s piece is written.
    std::filesystem::path Piece(int row) const;
    // The bytes of piece `row`: a tenth of the source, the last with the rest.
    std::vector<unsigned char> ExpectedPiece(int row) const;
    // The first `length` bytes of piece `row`.
    std::vector<unsigned char> ExpectedPiecePrefix(int row, std::size_t length) const;

    TempDir dir;
    std::filesystem::path source;
    std::filesystem::path destination;
    std::vector<std::filesystem::path> folders;
    std::vector<unsigned char> bytes;
    ObservedDialog dlg;
    RecordedBoxes boxes;
};
