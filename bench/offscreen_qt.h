// The window framework's application for a program that is not the window
// program itself: Qt on the offscreen platform unless another one is asked
// for, so the benchmark drives the real window without a display.
#pragma once

class OffscreenQt {
public:
    // Chooses the platform, then initialises the framework (the one
    // QApplication). Raises BenchError when it cannot.
    OffscreenQt();
    ~OffscreenQt();
    OffscreenQt(const OffscreenQt&) = delete;
    OffscreenQt& operator=(const OffscreenQt&) = delete;
};
