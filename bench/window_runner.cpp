#include "bench/window_runner.h"

#include <QAbstractButton>
#include <QMetaObject>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <exception>
#include <optional>
#include <utility>

#include "bench/bench_error.h"
#include "bench/interrupt_flag.h"
#include "engine/piece_layout.h"
#include "tests/support/temp_dir.h"

namespace {

// What DoModal returns when the runner ends the dialog itself.
constexpr int kEndedByRunner = 1;

// Qt keeps both for the life of the application.
int g_argc = 1;
char g_name[] = "tesserak_bench";
char* g_argv[] = {g_name, nullptr};

QAbstractButton* Button(const ObservedDialog& dlg, int id, const std::string& what) {
    auto* button = qobject_cast<QAbstractButton*>(dlg.GetDlgItem(id));
    if (button == nullptr) {
        throw BenchError(what + ": the main dialog has no button with the id " +
                         std::to_string(id));
    }
    return button;
}

// A real click: does nothing on a hidden or disabled button, as a user's
// would, and runs the button's handler before it returns.
void Click(const ObservedDialog& dlg, int id, const std::string& what) {
    Button(dlg, id, what)->click();
}

void CheckCaption(const ObservedDialog& dlg, const std::string& what, int button,
                  const std::u16string& caption) {
    const CString shown = dlg.GetDlgItemText(button);
    if (shown.str() != caption) {
        throw BenchError(what + " ended with the caption '" + shown.ToUtf8() + "', not '" +
                         CString(caption).ToUtf8() + "'");
    }
}

}  // namespace

WindowRunner::WindowRunner() : m_app(g_argc, g_argv) {
    if (!m_app.started()) {
        throw BenchError("cannot initialise the window framework on the Qt platform " +
                         qEnvironmentVariable("QT_QPA_PLATFORM").toStdString());
    }
}

void WindowRunner::RunDialog(ObservedDialog& dlg, int modeButton, const Fields& fields,
                             PumpStretches& stretches, const std::function<void()>& steps) {
    const bool split = modeButton == IDC_MODE_SPLIT;
    const std::string what = split ? "the window split" : "the window join";
    dlg.onPump = [&](int) {
        stretches.Pump();
        if (InterruptFlag::Raised() && TransferState == kTransferRunning &&
            dlg.GetSafeHwnd() != nullptr) {
            // What a user's close request does: the copy stops after this chunk.
            dlg.GetSafeHwnd()->close();
        }
    };
    std::exception_ptr failure;
    // The steps are dropped with `context` if the loop never runs them (the
    // window could not be made), so they never outlive this call.
    const QObject context;
    QTimer::singleShot(0, &context, [&] {
        try {
            Click(dlg, modeButton, what);
            if (dlg.IsSplitMode() != split) {
                throw BenchError(what + ": a click on its mode button left the main dialog in " +
                                 (split ? "join" : "split") + " mode");
            }
            if (fields.rowFolders.size() != static_cast<std::size_t>(kPieceCount)) {
                throw BenchError("the window needs exactly ten row folders");
            }
            for (int row = 0; row < kPieceCount; ++row) {
                dlg.SetDlgItemText(FolderFieldOfRow(row + 1),
                                   ToCString(fields.rowFolders[static_cast<std::size_t>(row)]));
            }
            if (!fields.source.empty()) {
                dlg.SetDlgItemText(IDC_SOURCE_PATH, ToCString(fields.source));
            }
            if (!fields.destFolder.empty()) {
                dlg.SetDlgItemText(IDC_DEST_FOLDER, ToCString(fields.destFolder));
            }
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
        throw BenchError(what + ": the main dialog ended with " + std::to_string(result) +
                         " before its presses were done (" +
                         (result == -1 ? "its window could not be made" : "closed") + ")");
    }
}

void WindowRunner::CheckPress(const std::string& what) {
    // Boxes first: a box explains every other symptom.
    const std::vector<MessageBoxCall> boxes = std::exchange(m_boxes.calls, {});
    if (!boxes.empty()) {
        throw BenchError(what + " showed a message box '" + boxes.front().title.ToUtf8() +
                         "': " + boxes.front().text.ToUtf8());
    }
    InterruptFlag::ThrowIfRaised(what.c_str());
}

void WindowRunner::Press(ObservedDialog& dlg, const std::string& mode, int row,
                         PumpStretches& stretches) {
    const std::string what = "the window " + mode + " press of row " + std::to_string(row);
    stretches.BeginPress();
    Click(dlg, RowButton(row), what);
    stretches.EndPress();
    CheckPress(what);
    CheckCaption(dlg, what, RowButton(row), u"完了");
    const CString status = dlg.GetDlgItemText(IDC_STATUS);
    if (status.str() != u"100%") {
        throw BenchError(what + " left the status line '" + status.ToUtf8() + "', not '100%'");
    }
}

void WindowRunner::SplitAll(const std::filesystem::path& source,
                            const std::vector<std::filesystem::path>& rowFolders,
                            const AroundPresses& around, PumpStretches& stretches) {
    ObservedDialog dlg;
    RunDialog(dlg, IDC_MODE_SPLIT, {source, rowFolders, {}}, stretches, [&] {
        around([&] {
            for (int row = 1; row <= kPieceCount; ++row) {
                Press(dlg, "split", row, stretches);
            }
        });
    });
}

void WindowRunner::JoinAll(const std::vector<std::filesystem::path>& rowFolders,
                           const std::filesystem::path& destFolder, const AroundPresses& around,
                           PumpStretches& stretches) {
    ObservedDialog dlg;
    RunDialog(dlg, IDC_MODE_JOIN, {{}, rowFolders, destFolder}, stretches, [&] {
        // Rows 1 to 9 may come in any order; the tenth must come last.
        around([&] {
            for (int row = 1; row <= kPieceCount; ++row) {
                Press(dlg, "join", row, stretches);
            }
        });
    });
}

WindowRunner::CancelTimes WindowRunner::SplitCancelled(
    const std::filesystem::path& source, const std::vector<std::filesystem::path>& rowFolders,
    int row, int atPump) {
    using Clock = PumpStretches::Clock;
    const std::string what = "the window's cancelled split press of row " + std::to_string(row);
    PumpStretches unused;
    ObservedDialog dlg;
    // Outside the steps: a second click still queued when they end is run,
    // or dropped with the button, before the dialog is gone.
    std::optional<Clock::time_point> start;
    std::optional<Clock::time_point> end;
    CString caption;
    int pumps = 0;
    CancelTimes times;
    RunDialog(dlg, IDC_MODE_SPLIT, {source, rowFolders, {}}, unused, [&] {
        QAbstractButton* button = Button(dlg, RowButton(row), what);
        dlg.onPump = [&, timing = dlg.onPump](int pump) {
            timing(pump);
            if (++pumps == atPump) {
                // Queued, so the pump's own event handling runs it, as it
                // would a user's click.
                QMetaObject::invokeMethod(
                    button,
                    [&, button] {
                        start = Clock::now();
                        button->click();
                        end = Clock::now();
                        caption = dlg.GetDlgItemText(RowButton(row));
                    },
                    Qt::QueuedConnection);
            }
        };
        button->click();
        const auto over = Clock::now();
        CheckPress(what);
        if (!start || !end) {
            throw BenchError(what + ": the second press was never delivered (the press ended " +
                             "before pump " + std::to_string(atPump) + ")");
        }
        if (caption.str() != u"失敗") {
            throw BenchError(what + ": the second press left the caption '" + caption.ToUtf8() +
                             "', not '失敗'");
        }
        CheckCaption(dlg, what, RowButton(row), u"失敗");
        times = {*end - *start, over - *start};
    });
    return times;
}
