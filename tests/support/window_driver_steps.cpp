// RunModalSteps and the failure handler for every window system: the steps
// are taken one by one from the queue, each only when the dialog's own loop
// takes it.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

#include "tests/support/window_driver.h"
#include "tests/support/window_driver_system.h"

namespace {

DriverFailureHandler& Handler() {
    static DriverFailureHandler handler;
    return handler;
}

struct StepRun {
    CDialog& dlg;
    std::vector<std::function<void()>> steps;
    std::size_t next = 0;
    bool over = false;
};

void TakeStep(const std::shared_ptr<StepRun>& run) {
    if (run->over || !IsWindowShown(run->dlg)) {
        return;
    }
    if (!OwnLoopIsTaking(run->dlg)) {
        PostWhenIdle([run] { TakeStep(run); });
        return;
    }
    if (run->next == run->steps.size()) {
        run->dlg.EndDialog(kNotEndedByTest);
        return;
    }
    run->steps[run->next++]();
    Post([run] { TakeStep(run); });
}

}  // namespace

DriverFailureHandler SetDriverFailureHandler(DriverFailureHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

void ReportDriverFailure(const std::string& what) {
    if (!Handler()) {
        std::fprintf(stderr, "window driver: %s (no failure handler set)\n", what.c_str());
        std::abort();
    }
    Handler()(what);
}

std::intptr_t RunModalSteps(CDialog& dlg, std::vector<std::function<void()>> steps) {
    auto run = std::make_shared<StepRun>(StepRun{dlg, std::move(steps)});
    Post([run] { TakeStep(run); });
    const std::intptr_t result = dlg.DoModal();
    run->over = true;
    // What the steps left in the queue is delivered now, inside this test.
    DeliverQueuedInput();
    if (run->next != run->steps.size()) {
        ReportDriverFailure("the dialog ended before every step had run (" +
                            std::to_string(run->next) + " of " + std::to_string(run->steps.size()) +
                            " ran)");
    }
    return result;
}
