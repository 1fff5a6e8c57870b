// The main dialog with a clock on its pump: every pump of a copy notes the
// time since the pump before it in the same press. An interrupt of the
// benchmark reaches a running copy as a close request of the window.
#pragma once

#include <chrono>
#include <optional>

#include "bench/pump_intervals.h"
#include "ui/main_dialog.h"

class PumpTimedDialog : public CSplitJoinDlg {
public:
    // `intervals` must outlive the dialog.
    explicit PumpTimedDialog(PumpIntervals& intervals) : m_intervals(intervals) {}

    // Called before each press: no interval spans two presses.
    void BeginPress() { m_lastPump.reset(); }

    void PumpMessages() override;

private:
    PumpIntervals& m_intervals;
    std::optional<std::chrono::steady_clock::time_point> m_lastPump;
};
