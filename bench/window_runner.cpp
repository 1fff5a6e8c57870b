#include "bench/window_runner.h"

#include <exception>
#include <optional>
#include <utility>

#include "bench/bench_error.h"
#include "bench/work_folder.h"
#include "engine/piece_layout.h"
#include "engine/transfer.h"
#include "tests/support/temp_dir.h"

namespace {

// Qt keeps both for the life of the application.
int g_argc = 1;
char g_name[] = "tesserak_bench";
char* g_argv[] = {g_name, nullptr};

void CheckText(const ObservedDialog& dlg, const std::string& what, int id,
               const std::u16string& expected) {
    if (const CString shown = dlg.GetDlgItemText(id); shown.str() != expected) {
        throw BenchError(what + " left '" + shown.ToUtf8() + "' where '" +
                         CString(expected).ToUtf8() + "' belongs");
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

void WindowRunner::RunDialog(ObservedDialog& dlg, bool split, const std::filesystem::path& source,
                             const Paths& rows, const std::filesystem::path& dest,
                             PumpStretches& stretches, const std::function<void()>& steps) {
    const std::string what = split ? "the window split" : "the window join";
    dlg.onPump = [&](int) {
        stretches.Pump();
        if (Interrupted() && TransferState == kTransferRunning) {
            PostClose(dlg);  // as a user's close request: the copy stops after this chunk
        }
    };
    // An error must not unwind through the window system's event handling.
    std::exception_ptr failure;
    const auto guarded = [&](std::function<void()> step) {
        return [&, step = std::move(step)] {
            try {
                step();
            } catch (...) {
                failure = std::current_exception();
                dlg.EndDialog(kNotEndedByTest);
            }
        };
    };
    const auto fill = [&] {
        if (dlg.IsSplitMode() != split) {
            throw BenchError(what + ": a click on its mode button left the other mode");
        }
        for (int row = 0; row < kPieceCount; ++row) {
            dlg.SetDlgItemText(FolderFieldOfRow(row + 1),
                               ToCString(rows.at(static_cast<std::size_t>(row))));
        }
        for (const auto& [id, path] :
             {std::pair{IDC_SOURCE_PATH, source}, {IDC_DEST_FOLDER, dest}}) {
            if (!path.empty()) {
                dlg.SetDlgItemText(id, ToCString(path));
            }
        }
        steps();
    };
    const int mode = split ? IDC_MODE_SPLIT : IDC_MODE_JOIN;
    const std::intptr_t result =
        RunModalSteps(dlg, {guarded([&] { PostClick(dlg, mode); }), guarded(fill)});
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
    ThrowIfInterrupted(what);
    if (!m_driverFailure.empty()) {
        throw BenchError(what + ": " + std::exchange(m_driverFailure, {}));
    }
}

void WindowRunner::PressAll(ObservedDialog& dlg, bool split, PumpStretches& stretches) {
    // Rows 1 to 9 of a join may come in any order; the tenth must come last.
    for (int row = 1; row <= kPieceCount; ++row) {
        const std::string what = std::string("the window ") + (split ? "split" : "join") +
                                 " press of row " + std::to_string(row);
        // Delivered at once: the press runs to its end inside the click.
        stretches.BeginPress();
        ClickThroughSystem(dlg, RowButton(row));
        stretches.EndPress();
        CheckPress(what);
        CheckText(dlg, what, RowButton(row), u"完了");
        CheckText(dlg, what, IDC_STATUS, u"100%");
    }
}

RunSample WindowRunner::SplitAll(const std::filesystem::path& source, const Paths& rows,
                                 PumpStretches& stretches, const RunClock* clock) {
    ObservedDialog dlg;
    RunSample sample;
    RunDialog(dlg, true, source, rows, {}, stretches, [&] {
        const auto presses = [&] { PressAll(dlg, true, stretches); };
        sample = TimeOrRun(clock, {source}, presses, PiecesIn(rows));
    });
    return sample;
}

RunSample WindowRunner::JoinAll(const Paths& rows, const std::filesystem::path& dest,
                                PumpStretches& stretches, const RunClock* clock) {
    ObservedDialog dlg;
    RunSample sample;
    RunDialog(dlg, false, {}, rows, dest, stretches, [&] {
        const auto presses = [&] { PressAll(dlg, false, stretches); };
        sample = TimeOrRun(clock, PiecesIn(rows), presses, {dest / "temp"});
    });
    return sample;
}

WindowRunner::CancelTimes WindowRunner::SplitCancelled(const std::filesystem::path& source,
                                                       const Paths& rows, int row, int atPump) {
    using Clock = PumpStretches::Clock;
    const std::string what = "the window's cancelled split press of row " + std::to_string(row);
    PumpStretches unused;
    ObservedDialog dlg;
    // Outside the steps: the driver delivers what is still queued before the
    // dialog's run returns.
    std::optional<Clock::time_point> start;
    std::optional<Clock::time_point> end;
    CString caption;
    int pumps = 0;
    CancelTimes times;
    RunDialog(dlg, true, source, rows, {}, unused, [&] {
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
        CheckText(dlg, what, RowButton(row), u"失敗");
        times = {*end - *start, over - *start};
    });
    return times;
}
