#include "bench/window_runner.h"

#include <exception>
#include <optional>
#include <utility>

#include "bench/bench_error.h"
#include "bench/interrupt_flag.h"
#include "bench/work_folder.h"
#include "engine/piece_layout.h"
#include "engine/transfer.h"
#include "tests/support/temp_dir.h"

namespace {

// Qt keeps both for the life of the application.
int g_argc = 1;
char g_name[] = "tesserak_bench";
char* g_argv[] = {g_name, nullptr};

void CheckCaption(const ObservedDialog& dlg, const std::string& what, int id,
                  const std::u16string& caption) {
    const CString shown = dlg.GetDlgItemText(id);
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
    m_previousHandler = SetDriverFailureHandler([this](const std::string& what) {
        if (m_driverFailure.empty()) {
            m_driverFailure = what;
        }
    });
}

WindowRunner::~WindowRunner() {
    SetDriverFailureHandler(std::move(m_previousHandler));
}

void WindowRunner::RunDialog(ObservedDialog& dlg, int modeButton, const Fields& fields,
                             PumpStretches& stretches, const std::function<void()>& steps) {
    const bool split = modeButton == IDC_MODE_SPLIT;
    const std::string what = split ? "the window split" : "the window join";
    dlg.onPump = [&](int) {
        stretches.Pump();
        if (InterruptFlag::Raised() && TransferState == kTransferRunning) {
            // What a user's close request does: the copy stops after this chunk.
            PostClose(dlg);
        }
    };
    // An error must not unwind through the window system's event handling:
    // it ends the dialog and is raised again once the dialog is gone.
    std::exception_ptr failure;
    auto guarded = [&](std::function<void()> step) {
        return [&, step = std::move(step)] {
            try {
                step();
            } catch (...) {
                failure = std::current_exception();
                dlg.EndDialog(kNotEndedByTest);
            }
        };
    };
    const std::intptr_t result = RunModalSteps(
        dlg, {guarded([&] { PostClick(dlg, modeButton); }), guarded([&] {
                  if (dlg.IsSplitMode() != split) {
                      throw BenchError(what + ": a click on its mode button left the main " +
                                       "dialog in " + (split ? "join" : "split") + " mode");
                  }
                  if (fields.rowFolders.size() != static_cast<std::size_t>(kPieceCount)) {
                      throw BenchError("the window needs exactly ten row folders");
                  }
                  for (int row = 0; row < kPieceCount; ++row) {
                      dlg.SetDlgItemText(
                          FolderFieldOfRow(row),
                          ToCString(fields.rowFolders[static_cast<std::size_t>(row)]));
                  }
                  if (!fields.source.empty()) {
                      dlg.SetDlgItemText(IDC_SOURCE_PATH, ToCString(fields.source));
                  }
                  if (!fields.destFolder.empty()) {
                      dlg.SetDlgItemText(IDC_DEST_FOLDER, ToCString(fields.destFolder));
                  }
                  steps();
              })});
    const std::string driverFailure = std::exchange(m_driverFailure, {});
    if (failure) {
        std::rethrow_exception(failure);
    }
    if (!driverFailure.empty()) {
        throw BenchError(what + ": " + driverFailure);
    }
    if (result != kNotEndedByTest) {
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
    if (!m_driverFailure.empty()) {
        throw BenchError(what + ": " + std::exchange(m_driverFailure, {}));
    }
}

void WindowRunner::Press(ObservedDialog& dlg, const std::string& mode, int row,
                         PumpStretches& stretches) {
    const std::string what = "the window " + mode + " press of row " + std::to_string(row);
    // Delivered at once: the press runs to its end inside the click.
    stretches.BeginPress();
    ClickThroughSystem(dlg, RowButton(row));
    stretches.EndPress();
    CheckPress(what);
    CheckCaption(dlg, what, RowButton(row), u"完了");
    const CString status = dlg.GetDlgItemText(IDC_STATUS);
    if (status.str() != u"100%") {
        throw BenchError(what + " left the status line '" + status.ToUtf8() + "', not '100%'");
    }
}

RunSample WindowRunner::SplitAll(const std::filesystem::path& source,
                                 const std::vector<std::filesystem::path>& rowFolders,
                                 PumpStretches& stretches, const RunClock* clock) {
    ObservedDialog dlg;
    RunSample sample;
    RunDialog(dlg, IDC_MODE_SPLIT, {source, rowFolders, {}}, stretches, [&] {
        const auto presses = [&] {
            for (int row = 1; row <= kPieceCount; ++row) {
                Press(dlg, "split", row, stretches);
            }
        };
        if (clock == nullptr) {
            presses();
        } else {
            sample = clock->Time({source}, presses, PiecesIn(rowFolders));
        }
    });
    return sample;
}

RunSample WindowRunner::JoinAll(const std::vector<std::filesystem::path>& rowFolders,
                                const std::filesystem::path& destFolder, PumpStretches& stretches,
                                const RunClock* clock) {
    ObservedDialog dlg;
    RunSample sample;
    RunDialog(dlg, IDC_MODE_JOIN, {{}, rowFolders, destFolder}, stretches, [&] {
        // Rows 1 to 9 may come in any order; the tenth must come last.
        const auto presses = [&] {
            for (int row = 1; row <= kPieceCount; ++row) {
                Press(dlg, "join", row, stretches);
            }
        };
        if (clock == nullptr) {
            presses();
        } else {
            sample = clock->Time(PiecesIn(rowFolders), presses, {destFolder / "temp"});
        }
    });
    return sample;
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
        dlg.onPump = [&, timing = dlg.onPump](int pump) {
            timing(pump);
            if (++pumps == atPump) {
                // Queued, so the pump takes it as it would a user's click.
                Post([&] {
                    start = Clock::now();
                    ClickThroughSystem(dlg, RowButton(row));
                    end = Clock::now();
                    caption = dlg.GetDlgItemText(RowButton(row));
                });
            }
        };
        ClickThroughSystem(dlg, RowButton(row));
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
