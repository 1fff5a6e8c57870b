// The one dispatch through which every message handler of a window runs.
//
// The platform calls into the program only through event handlers (Qt's
// events and signals, the Windows dialog procedure); every such entry runs the
// program's handler through AfxCallGuarded, which catches what the handler
// lets escape, so that no exception ever crosses a platform frame:
// - the framework's exception family (CException): reported by
//   ReportCommandFailure (a CFileException in a stop-icon box titled with the
//   application's name, a CMemoryException with the exclamation icon, a
//   CUserException with no box);
// - std::bad_alloc: reported as a CMemoryException;
// - any other exception: a stop-icon box with its text (the program raises
//   none; this only keeps the platform's frames safe).
// After the report the message counts as handled and the window goes on.
#pragma once

#include <exception>
#include <new>
#include <utility>

#include "framework/core/exceptions.h"
#include "framework/window/window_handle.h"

// Shows the standard box for an exception that left a handler, owned by
// `owner`.
void ReportCommandFailure(HWND owner, const CException& e);
// The same for exceptions outside the framework's family.
void ReportForeignFailure(HWND owner, const std::exception* e);

// Runs `handler`; true when it returned normally, false when an exception
// left it and was reported.
template <typename Handler>
bool AfxCallGuarded(HWND owner, Handler&& handler) noexcept {
    try {
        try {
            std::forward<Handler>(handler)();
            return true;
        } catch (const CException& e) {
            ReportCommandFailure(owner, e);
        } catch (const std::bad_alloc&) {
            ReportCommandFailure(owner, CMemoryException());
        } catch (const std::exception& e) {
            ReportForeignFailure(owner, &e);
        } catch (...) {
            ReportForeignFailure(owner, nullptr);
        }
    } catch (...) {
        // The report itself failed (no memory for the box): nothing more can
        // be shown, and nothing may leave towards the platform.
    }
    return false;
}
