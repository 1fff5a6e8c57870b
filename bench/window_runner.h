// Drives the real main dialog as a user would, through the tests' window
// driver (tests/support/window_driver.h): the dialog runs modally, its mode
// button is clicked and its fields are filled, and the ten part buttons are
// clicked through the window system's input path, rows 1 to 10 in order, for
// a whole split or a whole join. Every press must end with "完了" on its
// button, "100%" on the status line and no message box; anything else, a
// failure the driver reports included, raises BenchError.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/run_clock.h"
#include "bench/throughput_table.h"
#include "tests/support/observed_dialog.h"
#include "tests/support/offscreen_app.h"
#include "tests/support/recorded_boxes.h"
#include "tests/support/window_driver.h"

class WindowRunner {
public:
    using Paths = std::vector<std::filesystem::path>;

    // Starts the window framework (OffscreenApp) and takes the driver's
    // failures; one runner per process. Raises BenchError when it cannot.
    WindowRunner();
    ~WindowRunner();
    WindowRunner(const WindowRunner&) = delete;
    WindowRunner& operator=(const WindowRunner&) = delete;

    // Writes piece n of `source` into rows[n - 1], n = 1..10; the stretches
    // without a pump go into `stretches`. `clock`, when given, times the ten
    // presses, not the making of the window.
    RunSample SplitAll(const std::filesystem::path& source, const Paths& rows,
                       PumpStretches& stretches, const RunClock* clock = nullptr);
    // Puts the piece of each row folder into `temp` in `dest`.
    RunSample JoinAll(const Paths& rows, const std::filesystem::path& dest,
                      PumpStretches& stretches, const RunClock* clock = nullptr);

    // How fast a second press stops a running one, from the second click to
    // "失敗" on the button (which the second press writes itself as it asks
    // the copy to stop) and to the end of the running press (when the window
    // answers again).
    struct CancelTimes {
        PumpStretches::Duration failedShown;
        PumpStretches::Duration pressOver;
    };
    // Presses the split button of `row` once and, from inside the pump after
    // `atPump` chunks of its piece, a second time. Both presses must end with
    // "失敗" and no message box; the partial piece stays.
    CancelTimes SplitCancelled(const std::filesystem::path& source, const Paths& rows, int row,
                               int atPump);

private:
    // Runs the dialog modally (RunModalSteps): clicks the mode button, names
    // `source`, the rows and `dest` in the fields (an empty path is not
    // named), then runs `steps`. An error raised by them ends the dialog and
    // is raised again once it is gone. Every pump goes into `stretches`; an
    // interrupt reaches a running copy as a close request.
    void RunDialog(ObservedDialog& dlg, bool split, const std::filesystem::path& source,
                   const Paths& rows, const std::filesystem::path& dest, PumpStretches& stretches,
                   const std::function<void()>& steps);
    // The ten presses of a split or a join.
    void PressAll(ObservedDialog& dlg, bool split, PumpStretches& stretches);
    // Raises when the press `what` showed a box, was interrupted or the
    // driver reported a failure.
    void CheckPress(const std::string& what);

    OffscreenApp m_app;
    RecordedBoxes m_boxes;
    std::string m_driverFailure;  // the first since the last check
    DriverFailureHandler m_previousHandler;
};
