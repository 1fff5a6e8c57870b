// RunModalSteps for every window system: the steps are taken one by one from
// the queue, each only when the dialog's own loop takes it.
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/window_driver.h"
#include "tests/support/window_driver_system.h"

namespace {

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

std::intptr_t RunModalSteps(CDialog& dlg, std::vector<std::function<void()>> steps) {
    auto run = std::make_shared<StepRun>(StepRun{dlg, std::move(steps)});
    Post([run] { TakeStep(run); });
    const std::intptr_t result = dlg.DoModal();
    run->over = true;
    // What the steps left in the queue is delivered now, inside this test.
    DeliverQueuedInput();
    EXPECT_EQ(run->next, run->steps.size()) << "the dialog ended before every step had run";
    return result;
}
