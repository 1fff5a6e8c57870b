// The part buttons on the real dialog with real files: a whole round trip,
// what a row shows during and after a press, and the input a user can give
// while a piece is copied (a second press, a close request, Exit, a mode
// switch), delivered through the event queue as a user's input arrives.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QApplication>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <random>
#include <vector>

#include "engine/piece_layout.h"
#include "engine/transfer.h"
#include "framework/core/exceptions.h"
#include "framework/window/win_app.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/observed_dialog.h"
#include "tests/support/temp_dir.h"
#include "ui/main_dialog.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kMiB = 1 << 20;

std::vector<CString> Captions(const CDialog& dlg) {
    std::vector<CString> captions;
    for (int row = 1; row <= kPieceCount; ++row) {
        captions.push_back(dlg.GetDlgItemText(RowButton(row)));
    }
    return captions;
}

// The rows whose part buttons are enabled.
std::vector<int> EnabledRows(const CDialog& dlg) {
    std::vector<int> rows;
    for (int row = 1; row <= kPieceCount; ++row) {
        if (dlg.IsDlgItemEnabled(RowButton(row))) {
            rows.push_back(row);
        }
    }
    return rows;
}

const std::vector<int> kAllRows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

std::vector<int> Shuffled(std::vector<int> rows, unsigned seed) {
    std::mt19937 random(seed);
    std::shuffle(rows.begin(), rows.end(), random);
    return rows;
}

// A test folder with a source, ten row folders and a destination, named in
// the dialog's fields.
class PressesTest : public ::testing::Test {
protected:
    void SetUp() override {
        source = dir.path() / "source.bin";
        destination = dir.path() / "joined";
        fs::create_directory(destination);
        for (int row = 1; row <= kPieceCount; ++row) {
            folders.push_back(dir.path() / ("card" + std::to_string(row)));
            fs::create_directory(folders.back());
        }
        TransferState = kTransferIdle;
    }

    void WriteSource(std::size_t size) {
        bytes = PatternBytes(size, 7);
        WriteAll(source, bytes);
    }

    // Names the source, the folders and the destination in the fields.
    void FillFields() {
        dlg.SetDlgItemText(IDC_SOURCE_PATH, ToCString(source));
        for (int row = 1; row <= kPieceCount; ++row) {
            dlg.SetDlgItemText(FolderFieldOfRow(row - 1), ToCString(folders[row - 1]));
        }
        dlg.SetDlgItemText(IDC_DEST_FOLDER, ToCString(destination));
    }

    fs::path Piece(int row) const {
        char name[8];
        std::snprintf(name, sizeof name, "temp%03d", row);
        return folders[row - 1] / name;
    }

    // The bytes of piece `row` as the layout gives them.
    std::vector<unsigned char> ExpectedPiece(int row) const {
        const std::size_t length = bytes.size() / kPieceCount;
        const std::size_t begin = length * (row - 1);
        const std::size_t end = row == kPieceCount ? bytes.size() : begin + length;
        return {bytes.begin() + begin, bytes.begin() + end};
    }

    TempDir dir;
    fs::path source;
    fs::path destination;
    std::vector<fs::path> folders;
    std::vector<unsigned char> bytes;
    ObservedDialog dlg;
    RecordedBoxes boxes;
};

TEST_F(PressesTest, TenSplitPressesMatchSplitAndTenJoinPressesRestoreTheSource) {
    // Pieces of a little over 1 MiB: each press copies a full chunk, pumps
    // once and writes a remainder.
    WriteSource(12 * kMiB + 12345);
    const fs::path reference = dir.path() / "reference";
    fs::create_directory(reference);
    ASSERT_EQ(RunCommand("split -n 10 -a 3 --numeric-suffixes=1 '" + source.string() + "' '" +
                         (reference / "temp").string() + "'"),
              0);

    RunModalSteps(dlg,
                  {[&] {
                       FillFields();
                       for (int row : Shuffled(kAllRows, 11)) {
                           ClickControl(dlg, RowButton(row));
                           EXPECT_EQ(dlg.GetDlgItemText(RowButton(row)), CString(u"完了")) << row;
                       }
                       EXPECT_EQ(dlg.GetDlgItemText(IDC_STATUS), CString(u"100%"));
                   },
                   [&] {
                       ClickControl(dlg, IDC_MODE_JOIN);
                       std::vector<int> rows = Shuffled({1, 2, 3, 4, 5, 6, 7, 8, 9}, 5);
                       rows.push_back(10);
                       for (int row : rows) {
                           ClickControl(dlg, RowButton(row));
                           EXPECT_EQ(dlg.GetDlgItemText(RowButton(row)), CString(u"完了")) << row;
                       }
                   }});

    EXPECT_TRUE(boxes.calls.empty());
    for (int row = 1; row <= kPieceCount; ++row) {
        SCOPED_TRACE(row);
        char name[8];
        std::snprintf(name, sizeof name, "temp%03d", row);
        EXPECT_EQ(ReadAll(Piece(row)), ReadAll(reference / name));
    }
    EXPECT_EQ(ReadAll(destination / "temp"), bytes);
}

TEST_F(PressesTest, DuringAPressOnlyItsRowIsEnabledAndShowsProcessing) {
    WriteSource(25 * kMiB);  // pieces of 2.5 MiB: two pumps each
    std::vector<std::vector<CString>> captionsSeen;
    std::vector<std::vector<int>> enabledSeen;
    dlg.onPump = [&](int) {
        captionsSeen.push_back(Captions(dlg));
        enabledSeen.push_back(EnabledRows(dlg));
    };

    RunModalSteps(dlg, {[&] {
                      FillFields();
                      dlg.SetDlgItemText(RowButton(5), u"完了");  // an earlier press's outcome
                      ClickControl(dlg, RowButton(3));
                  }});

    std::vector<CString> during(kPieceCount, CString(u"分割開始"));
    during[2] = u"処理中";
    during[4] = u"完了";
    ASSERT_EQ(captionsSeen.size(), 2u);
    for (std::size_t pump = 0; pump < captionsSeen.size(); ++pump) {
        EXPECT_EQ(captionsSeen[pump], during) << pump;
        EXPECT_EQ(enabledSeen[pump], std::vector<int>{3}) << pump;
    }
    EXPECT_EQ(ReadAll(Piece(3)), ExpectedPiece(3));
}

TEST_F(PressesTest, AfterAPressTheRowShowsItsOutcomeAndAllTenAreEnabled) {
    WriteSource(12 * kMiB);
    std::vector<CString> captionsAfter;
    std::vector<int> enabledAfter;
    bool ownedByTheDialog = false;

    RunModalSteps(dlg, {[&] {
                      FillFields();
                      ClickControl(dlg, RowButton(4));
                      // The piece exists now, so the same press is refused with a message.
                      boxes.onBox = [&](const MessageBoxCall& box) {
                          captionsAfter = Captions(dlg);
                          enabledAfter = EnabledRows(dlg);
                          ownedByTheDialog = box.owner == dlg.GetSafeHwnd();
                      };
                      ClickControl(dlg, RowButton(4));
                      boxes.onBox = nullptr;
                      EXPECT_EQ(dlg.GetDlgItemText(RowButton(4)), CString(u"失敗"));
                      EXPECT_EQ(EnabledRows(dlg), kAllRows);
                  }});

    // While the box was open, the row still showed the press running.
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text,
              CString(u"既にファイル「") + ToCString(Piece(4)) + CString(u"」は存在します。"));
    EXPECT_EQ(boxes.calls[0].title, CString(u"TSKエラー"));
    EXPECT_TRUE(ownedByTheDialog);
    std::vector<CString> during(kPieceCount, CString(u"分割開始"));
    during[3] = u"処理中";
    EXPECT_EQ(captionsAfter, during);
    EXPECT_EQ(enabledAfter, std::vector<int>{4});
    EXPECT_EQ(ReadAll(Piece(4)), ExpectedPiece(4));
}

TEST_F(PressesTest, ASecondPressOfTheBusyRowCancelsAtOnceAndKeepsWhatWasWritten) {
    WriteSource(50 * kMiB);  // pieces of 5 MiB
    std::vector<CString> captionsAtOnce;
    std::vector<int> enabledAtOnce;
    std::int32_t stateAtOnce = -1;
    dlg.onPump = [&](int pump) {
        if (pump == 1) {
            PostInput([&] {
                ClickControl(dlg, RowButton(6));
                captionsAtOnce = Captions(dlg);
                enabledAtOnce = EnabledRows(dlg);
                stateAtOnce = TransferState;
            });
        }
    };

    RunModalSteps(dlg, {[&] {
                            FillFields();
                            ClickControl(dlg, RowButton(6));
                            EXPECT_EQ(dlg.GetDlgItemText(RowButton(6)), CString(u"失敗"));
                            EXPECT_EQ(EnabledRows(dlg), kAllRows);
                            EXPECT_EQ(TransferState, kTransferIdle);
                        },
                        [&] {
                            dlg.onPump = nullptr;
                            ClickControl(dlg, RowButton(7));
                            EXPECT_EQ(dlg.GetDlgItemText(RowButton(7)), CString(u"完了"));
                        }});

    std::vector<CString> atOnce(kPieceCount, CString(u"分割開始"));
    atOnce[5] = u"失敗";
    EXPECT_EQ(captionsAtOnce, atOnce);
    EXPECT_EQ(enabledAtOnce, kAllRows);
    EXPECT_EQ(stateAtOnce, kTransferCancelRequested);
    EXPECT_TRUE(boxes.calls.empty());
    // The chunk during whose pump the press came is the last one written.
    const std::vector<unsigned char> expected = ExpectedPiece(6);
    EXPECT_EQ(ReadAll(Piece(6)),
              std::vector<unsigned char>(expected.begin(), expected.begin() + 2 * kMiB));
    EXPECT_EQ(ReadAll(Piece(7)), ExpectedPiece(7));
}

TEST_F(PressesTest, ACloseRequestHidesAtOnceAndStopsTheCopyAfterItsChunk) {
    WriteSource(50 * kMiB);
    bool visibleAfterClose = true;
    dlg.onPump = [&](int pump) {
        if (pump == 0) {
            PostInput([&] {
                dlg.GetSafeHwnd()->close();
                visibleAfterClose = dlg.GetSafeHwnd()->isVisible();
            });
        }
    };

    const std::intptr_t result = RunModalSteps(dlg, {[&] {
                                                   FillFields();
                                                   ClickControl(dlg, RowButton(2));
                                               }});

    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(visibleAfterClose);
    EXPECT_TRUE(boxes.calls.empty());
    EXPECT_EQ(TransferState, kTransferIdle);
    const std::vector<unsigned char> expected = ExpectedPiece(2);
    EXPECT_EQ(ReadAll(Piece(2)),
              std::vector<unsigned char>(expected.begin(), expected.begin() + kMiB));
}

TEST_F(PressesTest, ExitEscapeAndEnterHideAtOnceButThePieceIsCompleted) {
    struct Case {
        const char* name;
        std::function<void(CSplitJoinDlg&)> input;
        std::intptr_t result;
    };
    const std::vector<Case> cases = {
        {"Exit", [](CSplitJoinDlg& d) { ClickControl(d, IDCANCEL); }, IDCANCEL},
        {"Escape",
         [](CSplitJoinDlg& d) {
             d.GotoDlgCtrl(IDC_FOLDER_1);
             QTest::keyClick(d.GetDlgItem(IDC_FOLDER_1), Qt::Key_Escape);
         },
         IDCANCEL},
        {"Enter in a field",
         [](CSplitJoinDlg& d) {
             d.GotoDlgCtrl(IDC_FOLDER_1);
             QTest::keyClick(d.GetDlgItem(IDC_FOLDER_1), Qt::Key_Return);
         },
         IDOK},
    };
    WriteSource(30 * kMiB);
    int row = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ObservedDialog each;
        bool visibleAfterInput = true;
        std::vector<CString> captionsAtEnd;
        each.onPump = [&](int pump) {
            if (pump == 0) {
                PostInput([&] {
                    c.input(each);
                    visibleAfterInput = each.GetSafeHwnd()->isVisible();
                });
            }
        };
        const int pressed = row;
        const std::intptr_t result = RunModalSteps(
            each, {[&] {
                each.SetDlgItemText(IDC_SOURCE_PATH, ToCString(source));
                each.SetDlgItemText(FolderFieldOfRow(pressed - 1), ToCString(folders[pressed - 1]));
                ClickControl(each, RowButton(pressed));
                captionsAtEnd = Captions(each);
            }});
        EXPECT_EQ(result, c.result);
        EXPECT_FALSE(visibleAfterInput);
        EXPECT_EQ(ReadAll(Piece(pressed)), ExpectedPiece(pressed));
        ASSERT_EQ(captionsAtEnd.size(), 10u);
        EXPECT_EQ(captionsAtEnd[pressed - 1], CString(u"完了"));
        EXPECT_EQ(TransferState, kTransferIdle);
        ++row;
    }
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(PressesTest, AModeSwitchDuringACopyChangesTheCaptionsButNotTheRunningKind) {
    WriteSource(30 * kMiB);
    std::vector<CString> captionsAfterSwitch;
    dlg.onPump = [&](int pump) {
        if (pump == 0) {
            PostInput([&] {
                ClickControl(dlg, IDC_MODE_JOIN);
                captionsAfterSwitch = Captions(dlg);
            });
        }
    };

    RunModalSteps(dlg, {[&] {
                      FillFields();
                      ClickControl(dlg, RowButton(8));
                      std::vector<CString> atEnd(kPieceCount, CString(u"結合開始"));
                      atEnd[7] = u"完了";
                      EXPECT_EQ(Captions(dlg), atEnd);
                      EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_MODE_JOIN), BST_CHECKED);
                  }});

    EXPECT_EQ(captionsAfterSwitch, std::vector<CString>(kPieceCount, CString(u"結合開始")));
    EXPECT_EQ(ReadAll(Piece(8)), ExpectedPiece(8));  // still a split
    EXPECT_FALSE(fs::exists(destination / "temp"));
    EXPECT_TRUE(boxes.calls.empty());
}

TEST_F(PressesTest, ASecondClickDuringACopyWithoutPumpsIsANewPressAfterIt) {
    WriteSource(5 * kMiB);  // pieces of half a MiB: no pump runs
    std::vector<CString> captionsBetween;

    RunModalSteps(dlg, {[&] {
                            FillFields();
                            // The second click is already waiting when the press runs.
                            PostInput([&] { ClickControl(dlg, RowButton(9)); });
                            ClickControl(dlg, RowButton(9));
                            captionsBetween = Captions(dlg);
                        },
                        [&] {}});

    EXPECT_EQ(captionsBetween[8], CString(u"完了"));
    EXPECT_EQ(ReadAll(Piece(9)), ExpectedPiece(9));
    ASSERT_EQ(boxes.calls.size(), 1u);
    EXPECT_EQ(boxes.calls[0].text,
              CString(u"既にファイル「") + ToCString(Piece(9)) + CString(u"」は存在します。"));
}

// Caps the size of files this process writes, the way a full card stops a
// write, for the life of the object.
class FileSizeCap {
public:
    explicit FileSizeCap(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit capped = m_previous;
        capped.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~FileSizeCap() {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeCap(const FileSizeCap&) = delete;
    FileSizeCap& operator=(const FileSizeCap&) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int);
};

TEST_F(PressesTest, AWriteFailureMidCopyShowsTheFileErrorAndTheNextPressWorks) {
    WriteSource(40 * kMiB);  // pieces of 4 MiB; the cap stops the third chunk
    std::vector<CString> captionsInBox;
    std::int32_t stateInBox = -1;

    RunModalSteps(dlg, {[&] {
                            FillFields();
                            boxes.onBox = [&](const MessageBoxCall&) {
                                captionsInBox = Captions(dlg);
                                stateInBox = TransferState;
                            };
                            {
                                const FileSizeCap cap(2 * kMiB + 100);
                                ClickControl(dlg, RowButton(1));
                            }
                            boxes.onBox = nullptr;
                            EXPECT_EQ(EnabledRows(dlg), kAllRows);
                        },
                        [&] {
                            fs::remove(Piece(1));
                            ClickControl(dlg, RowButton(1));
                            EXPECT_EQ(dlg.GetDlgItemText(RowButton(1)), CString(u"完了"));
                        }});

    ASSERT_EQ(boxes.calls.size(), 1u);
    const CFileException diskFull(CFileException::diskFull, 0, ToCString(Piece(1)));
    EXPECT_EQ(boxes.calls[0].text, diskFull.GetErrorMessage());
    EXPECT_EQ(boxes.calls[0].title, AfxGetAppName());
    EXPECT_EQ(boxes.calls[0].icon(), MB_ICONSTOP);
    // The framework reports the failure after the press has ended.
    ASSERT_EQ(captionsInBox.size(), 10u);
    EXPECT_EQ(captionsInBox[0], CString(u"失敗"));
    EXPECT_EQ(stateInBox, kTransferIdle);
    EXPECT_EQ(ReadAll(Piece(1)), ExpectedPiece(1));
}

}  // namespace
