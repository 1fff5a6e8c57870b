#include "tests/framework/window/win32/run_modal.h"

namespace {

std::function<void()>* g_steps = nullptr;
CDialog* g_running = nullptr;

void CALLBACK RunSteps(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    (*g_steps)();
    if (g_running->GetSafeHwnd() != nullptr && IsWindowVisible(g_running->GetSafeHwnd())) {
        g_running->EndDialog(kNotEndedByTest);
    }
}

}  // namespace

std::intptr_t RunModal(CDialog& dlg, std::function<void()> steps) {
    g_steps = &steps;
    g_running = &dlg;
    SetTimer(nullptr, 0, 0, &RunSteps);
    const std::intptr_t result = dlg.DoModal();
    g_steps = nullptr;
    g_running = nullptr;
    return result;
}
