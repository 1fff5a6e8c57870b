// Ten split presses in a shuffled order, then ten join presses (rows 1 to 9
// shuffled, row 10 last), through the window on real files: the pieces are
// the source's tenths and the joined file is the source, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/support/main_dialog_fixture.h"

namespace fs = std::filesystem;

namespace {

// `rows` in an order drawn by a generator started at `start`: the same order
// on every run.
std::vector<int> InRandomOrder(std::vector<int> rows, unsigned start) {
    std::mt19937 generator(start);
    std::shuffle(rows.begin(), rows.end(), generator);
    return rows;
}

// One step per press, each seeing the outcome of the one before.
void PressRows(std::vector<std::function<void()>>& steps, CDialog& dlg,
               const std::vector<int>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        steps.push_back([&dlg, &rows, i] {
            if (i > 0) {
                EXPECT_EQ(dlg.GetDlgItemText(RowButton(rows[i - 1])), CString(u"完了"))
                    << rows[i - 1];
            }
            PostClick(dlg, RowButton(rows[i]));
        });
    }
}

TEST_F(PressesTest, TenSplitPressesThenTenJoinPressesGiveTheSourceBack) {
    // Pieces of 1.2 MiB and an odd rest: a full chunk, a pump and a partial
    // chunk each; the tenth piece holds the rest of the division too.
    WriteSource(12 * kMiB + 12345);
    const std::vector<int> splitRows = InRandomOrder(kAllRows, 11);
    std::vector<int> joinRows = InRandomOrder({1, 2, 3, 4, 5, 6, 7, 8, 9}, 5);
    joinRows.push_back(10);

    std::vector<std::function<void()>> steps = {[&] { FillFields(); }};
    PressRows(steps, dlg, splitRows);
    steps.push_back([&] {
        EXPECT_EQ(Captions(dlg), CaptionsExcept(u"完了", {}));
        EXPECT_EQ(dlg.GetDlgItemText(IDC_STATUS), CString(u"100%"));
        PostClick(dlg, IDC_MODE_JOIN);
    });
    PressRows(steps, dlg, joinRows);
    steps.push_back([&] { EXPECT_EQ(Captions(dlg), CaptionsExcept(u"完了", {})); });
    RunModalSteps(dlg, std::move(steps));

    EXPECT_TRUE(boxes.calls.empty());
    for (int row = 1; row <= kRows; ++row) {
        EXPECT_EQ(ReadAll(Piece(row)), ExpectedPiece(row)) << row;
    }
    EXPECT_EQ(ReadAll(destination / "temp"), bytes);
#ifndef _WIN32
    // The tenths as `split` makes them, as a reference independent of the test.
    const fs::path reference = dir.path() / "reference";
    fs::create_directory(reference);
    ASSERT_EQ(RunCommand("split -n 10 -a 3 --numeric-suffixes=1 '" + source.string() + "' '" +
                         (reference / "temp").string() + "'"),
              0);
    for (int row = 1; row <= kRows; ++row) {
        EXPECT_EQ(ReadAll(Piece(row)), ReadAll(reference / Piece(row).filename())) << row;
    }
#endif
}

}  // namespace
