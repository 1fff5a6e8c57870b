// Drives the real main dialog as a user would: the dialog runs modally, the
// mode button and the fields are set, and the ten part buttons are clicked,
// rows 1 to 10 in order, for a whole split or a whole join. Every press must
// end with "完了" on its button, "100%" on the status line and no message
// box; anything else raises BenchError.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/message_box_recorder.h"
#include "bench/offscreen_qt.h"
#include "bench/pump_intervals.h"

class PumpTimedDialog;

class WindowRunner {
public:
    // Runs the ten presses.
    using Presses = std::function<void()>;
    // Called inside the dialog's modal loop once the window is up and its
    // mode and fields are set, with the ten presses to run exactly once, so
    // that a clock around them counts the presses and not the making of the
    // window.
    using AroundPresses = std::function<void(const Presses&)>;

    // Initialises the window framework; there is one runner per process.
    WindowRunner() = default;

    // Writes piece n of `source` into rowFolders[n - 1], n = 1..10. Each
    // stretch of a press without a pump, from the click to the press's end,
    // goes into `intervals`; the last of each press (which holds the closing
    // of the files) into `lastOfPress` too when given.
    void SplitAll(const std::filesystem::path& source,
                  const std::vector<std::filesystem::path>& rowFolders, const AroundPresses& around,
                  PumpIntervals& intervals, PumpIntervals* lastOfPress = nullptr);
    // Puts the piece of each row folder into `temp` in `destFolder`.
    void JoinAll(const std::vector<std::filesystem::path>& rowFolders,
                 const std::filesystem::path& destFolder, const AroundPresses& around,
                 PumpIntervals& intervals, PumpIntervals* lastOfPress = nullptr);

    // How fast a second press stops a running one.
    struct CancelTimes {
        // From the second click to "失敗" on the button, which the second
        // press writes itself as it asks the running copy to stop.
        PumpIntervals::Duration failedShown;
        // From the second click to the end of the running press: when the
        // window answers again.
        PumpIntervals::Duration pressOver;
    };
    // Presses the split button of `row` (1..10) once and, from inside the
    // pump after `atPump` chunks of its piece, a second time. Both presses
    // must end with "失敗" and no message box; the partial piece stays.
    CancelTimes SplitCancelled(const std::filesystem::path& source,
                               const std::vector<std::filesystem::path>& rowFolders, int row,
                               int atPump);

private:
    // Runs the dialog modally and `steps` inside its loop; an error raised
    // by them ends the dialog and is raised again once the dialog is gone.
    void RunDialog(PumpTimedDialog& dlg, const std::string& mode,
                   const std::function<void()>& steps);
    void SelectMode(PumpTimedDialog& dlg, const std::string& mode, int modeButton) const;
    void SetRowFolders(PumpTimedDialog& dlg,
                       const std::vector<std::filesystem::path>& rowFolders) const;
    void PressAll(PumpTimedDialog& dlg, const std::string& mode);
    void Press(PumpTimedDialog& dlg, const std::string& mode, int row);

    OffscreenQt m_qt;
    MessageBoxRecorder m_boxes;
};
