// A write that fails in the middle of a piece, on the real dialog with real
// files: the file error's box, and the row pressed again once the cause is
// gone. A file size limit stands in for a full medium (POSIX only).
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <vector>

#include "engine/transfer.h"
#include "framework/core/exceptions.h"
#include "framework/window/win_app.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/main_dialog_fixture.h"

namespace fs = std::filesystem;

namespace {

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
