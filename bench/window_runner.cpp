#include "bench/window_runner.h"

#include <QAbstractButton>
#include <QObject>
#include <QTimer>
#include <exception>

#include "bench/bench_error.h"
#include "bench/interrupt_flag.h"
#include "bench/pump_timed_dialog.h"
#include "engine/piece_layout.h"
#include "resources/resource.h"

namespace {

// What DoModal returns when the runner ends the dialog itself.
constexpr int kEndedByRunner = 1;

CString ToCString(const std::filesystem::path& path) {
    return CString::FromUtf8(path.string());
}

// A real click: does nothing on a hidden or disabled button, as a user's
// would, and runs the button's handler before it returns.
void Click(PumpTimedDialog& dlg, int id, const std::string& what) {
    auto* button = qobject_cast<QAbstractButton*>(dlg.GetDlgItem(id));
    if (button == nullptr) {
        throw BenchError(what + ": the main dialog has no button with the id " +
                         std::to_string(id));
    }
    button->click();
}

}  // namespace

void WindowRunner::RunDialog(PumpTimedDialog& dlg, const std::string& mode,
                             const std::function<void()>& steps) {
    std::exception_ptr failure;
    // The steps are dropped with `context` if the loop never runs them (the
    // window could not be made), so they never outlive this call.
    const QObject context;
    QTimer::singleShot(0, &context, [&] {
        try {
            steps();
        } catch (...) {
            failure = std::current_exception();
        }
        dlg.EndDialog(kEndedByRunner);
    });
    const std::intptr_t result = dlg.DoModal();
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (result != kEndedByRunner) {
        throw BenchError("the window " + mode + ": the main dialog ended with " +
                         std::to_string(result) + " before its presses were done (" +
                         (result == -1 ? "its window could not be made" : "closed") + ")");
    }
}

void WindowRunner::SelectMode(PumpTimedDialog& dlg, const std::string& mode, int modeButton) const {
    Click(dlg, modeButton, "the window " + mode);
    const bool split = modeButton == IDC_MODE_SPLIT;
    if (dlg.IsSplitMode() != split) {
        throw BenchError("the window " + mode + ": a click on its mode button left the main " +
                         "dialog in " + (split ? "join" : "split") + " mode");
    }
}

void WindowRunner::SetRowFolders(PumpTimedDialog& dlg,
                                 const std::vector<std::filesystem::path>& rowFolders) const {
    if (rowFolders.size() != static_cast<std::size_t>(kPieceCount)) {
        throw BenchError("the window needs exactly ten row folders");
    }
    for (int row = 0; row < kPieceCount; ++row) {
        dlg.SetDlgItemText(IDC_FOLDER_1 + row,
                           ToCString(rowFolders[static_cast<std::size_t>(row)]));
    }
}

void WindowRunner::Press(PumpTimedDialog& dlg, const std::string& mode, int row) {
    const std::string what = "the window " + mode + " press of row " + std::to_string(row);
    const int button = IDC_ROW_BUTTON_1 + row - 1;
    dlg.BeginPress();
    Click(dlg, button, what);
    dlg.EndPress();
    // Boxes first: a box explains every other symptom.
    const std::vector<MessageBoxCall> boxes = m_boxes.Take();
    if (!boxes.empty()) {
        throw BenchError(what + " showed a message box '" + boxes.front().title.ToUtf8() +
                         "': " + boxes.front().text.ToUtf8());
    }
    InterruptFlag::ThrowIfRaised(what.c_str());
    const CString caption = dlg.GetDlgItemText(button);
    if (caption.str() != u"完了") {
        throw BenchError(what + " ended with the caption '" + caption.ToUtf8() + "', not '完了'");
    }
    const CString status = dlg.GetDlgItemText(IDC_STATUS);
    if (status.str() != u"100%") {
        throw BenchError(what + " left the status line '" + status.ToUtf8() + "', not '100%'");
    }
}

void WindowRunner::PressAll(PumpTimedDialog& dlg, const std::string& mode) {
    // Rows 1 to 9 may come in any order for a join; the tenth must come last.
    for (int row = 1; row <= kPieceCount; ++row) {
        Press(dlg, mode, row);
    }
}

void WindowRunner::SplitAll(const std::filesystem::path& source,
                            const std::vector<std::filesystem::path>& rowFolders,
                            const AroundPresses& around, PumpIntervals& intervals,
                            PumpIntervals* lastOfPress) {
    const std::string mode = "split";
    PumpTimedDialog dlg(intervals, lastOfPress);
    RunDialog(dlg, mode, [&] {
        SelectMode(dlg, mode, IDC_MODE_SPLIT);
        dlg.SetDlgItemText(IDC_SOURCE_PATH, ToCString(source));
        SetRowFolders(dlg, rowFolders);
        around([&] { PressAll(dlg, mode); });
    });
}

void WindowRunner::JoinAll(const std::vector<std::filesystem::path>& rowFolders,
                           const std::filesystem::path& destFolder, const AroundPresses& around,
                           PumpIntervals& intervals, PumpIntervals* lastOfPress) {
    const std::string mode = "join";
    PumpTimedDialog dlg(intervals, lastOfPress);
    RunDialog(dlg, mode, [&] {
        SelectMode(dlg, mode, IDC_MODE_JOIN);
        SetRowFolders(dlg, rowFolders);
        dlg.SetDlgItemText(IDC_DEST_FOLDER, ToCString(destFolder));
        around([&] { PressAll(dlg, mode); });
    });
}

WindowRunner::CancelTimes WindowRunner::SplitCancelled(
    const std::filesystem::path& source, const std::vector<std::filesystem::path>& rowFolders,
    int row, int atPump) {
    const std::string mode = "split";
    const std::string what = "the window's cancelled split press of row " + std::to_string(row);
    const int button = IDC_ROW_BUTTON_1 + row - 1;
    PumpIntervals unused;
    PumpTimedDialog dlg(unused);
    CancelTimes times;
    RunDialog(dlg, mode, [&] {
        SelectMode(dlg, mode, IDC_MODE_SPLIT);
        dlg.SetDlgItemText(IDC_SOURCE_PATH, ToCString(source));
        SetRowFolders(dlg, rowFolders);
        dlg.BeginPress();
        dlg.PressAgainAtPump(atPump, button);
        Click(dlg, button, what);
        const auto over = PumpTimedDialog::Clock::now();
        dlg.EndPress();
        const std::vector<MessageBoxCall> boxes = m_boxes.Take();
        if (!boxes.empty()) {
            throw BenchError(what + " showed a message box '" + boxes.front().title.ToUtf8() +
                             "': " + boxes.front().text.ToUtf8());
        }
        InterruptFlag::ThrowIfRaised(what.c_str());
        if (!dlg.SecondPressStart() || !dlg.SecondPressEnd()) {
            throw BenchError(what + ": the second press was never delivered (the press ended " +
                             "before pump " + std::to_string(atPump) + ")");
        }
        if (dlg.CaptionAfterSecondPress().str() != u"失敗") {
            throw BenchError(what + ": the second press left the caption '" +
                             dlg.CaptionAfterSecondPress().ToUtf8() + "', not '失敗'");
        }
        const CString caption = dlg.GetDlgItemText(button);
        if (caption.str() != u"失敗") {
            throw BenchError(what + " ended with the caption '" + caption.ToUtf8() +
                             "', not '失敗'");
        }
        times.failedShown = *dlg.SecondPressEnd() - *dlg.SecondPressStart();
        times.pressOver = over - *dlg.SecondPressStart();
    });
    return times;
}
