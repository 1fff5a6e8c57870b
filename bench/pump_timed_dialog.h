// The main dialog with a clock on its pump: every press is cut into the
// stretches in which the window handled no input, from the click to the
// first pump, between two pumps, and from the last pump to the end of the
// press (which holds the closing of the files). An interrupt of the
// benchmark reaches a running copy as a close request of the window.
#pragma once

#include <chrono>
#include <optional>

#include "bench/pump_intervals.h"
#include "ui/main_dialog.h"

class PumpTimedDialog : public CSplitJoinDlg {
public:
    using Clock = std::chrono::steady_clock;

    // Every stretch goes into `intervals`; the last of each press, from the
    // last pump to the press's end, into `lastOfPress` too when given. Both
    // must outlive the dialog.
    explicit PumpTimedDialog(PumpIntervals& intervals, PumpIntervals* lastOfPress = nullptr)
        : m_intervals(intervals), m_lastOfPress(lastOfPress) {}

    // Just before the click of a press.
    void BeginPress();
    // Just after the click has returned: the press is over.
    void EndPress();

    // In the next press, the pump number `pump` (1 for the first) delivers a
    // click of the button `buttonId` among the window's own events, as a
    // user's second press would come.
    void PressAgainAtPump(int pump, int buttonId);
    // When that click was delivered and when it had returned, if it was,
    // and the button's caption then.
    std::optional<Clock::time_point> SecondPressStart() const { return m_secondPressStart; }
    std::optional<Clock::time_point> SecondPressEnd() const { return m_secondPressEnd; }
    const CString& CaptionAfterSecondPress() const { return m_captionAfterSecondPress; }

    void PumpMessages() override;

private:
    void PostSecondPress();

    PumpIntervals& m_intervals;
    PumpIntervals* m_lastOfPress;
    std::optional<Clock::time_point> m_lastPump;
    int m_pumpsInPress = 0;
    int m_secondPressPump = 0;
    int m_secondPressButton = 0;
    std::optional<Clock::time_point> m_secondPressStart;
    std::optional<Clock::time_point> m_secondPressEnd;
    CString m_captionAfterSecondPress;
};
