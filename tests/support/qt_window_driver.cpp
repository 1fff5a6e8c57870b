// The window driver over Qt: every input is a queued call on the application
// object that sends QTest's synthetic events (or an input method's commit)
// when a loop takes it. Widgets are held by QPointer, so input left in the
// queue after its window is gone does nothing.
#include <qpa/qwindowsysteminterface.h>
#include <QApplication>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QWindow>
#include <memory>
#include <string>

#include "engine/transfer.h"
#include "framework/window/qt/control_text.h"
#include "framework/window/qt/system_text.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/window_driver.h"
#include "tests/support/window_driver_system.h"

namespace {

void PressAndRelease(QWidget* target, Key key) {
    switch (key) {
        case Key::enter:
            QTest::keyClick(target, Qt::Key_Return);
            break;
        case Key::escape:
            QTest::keyClick(target, Qt::Key_Escape);
            break;
        case Key::tab:
            QTest::keyClick(target, Qt::Key_Tab);
            break;
        case Key::shiftTab:
            QTest::keyClick(target, Qt::Key_Backtab, Qt::ShiftModifier);
            break;
        case Key::space:
            QTest::keyClick(target, Qt::Key_Space);
            break;
        case Key::f1:
            QTest::keyClick(target, Qt::Key_F1);
            break;
    }
}

QWidget* FocusOrWindow(QWidget* window) {
    QWidget* focused = window->focusWidget();
    return focused != nullptr ? focused : window;
}

ModalWindowView ViewOf(QWidget* window) {
    ModalWindowView view{window, FromQt(window->windowTitle()), {}};
    for (const QLabel* label : window->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const CString text = ControlText(label);
        if (!text.IsEmpty()) {
            view.texts.push_back(text);
        }
    }
    return view;
}

void Close(QWidget* window, ModalClose close) {
    switch (close) {
        case ModalClose::okButton:
            for (QPushButton* button : window->findChildren<QPushButton*>()) {
                if (ControlId(button) == IDOK) {
                    QTest::mouseClick(button, Qt::LeftButton);
                    return;
                }
            }
            ReportDriverFailure("the modal window has no OK button");
            break;
        case ModalClose::enter:
            PressAndRelease(FocusOrWindow(window), Key::enter);
            break;
        case ModalClose::escape:
            PressAndRelease(FocusOrWindow(window), Key::escape);
            break;
    }
}

void LookWhenOpen(QPointer<QWidget> owner, std::function<void(const ModalWindowView&)> look,
                  ModalClose close) {
    if (owner == nullptr || !owner->isVisible()) {
        ReportDriverFailure("no modal window opened over the dialog");
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == owner) {
        PostWhenIdle([owner, look = std::move(look), close] { LookWhenOpen(owner, look, close); });
        return;
    }
    look(ViewOf(modal));
    Post([window = QPointer<QWidget>(modal), close] {
        if (window != nullptr) {
            Close(window, close);
        }
    });
}

}  // namespace

void TypeText(QWidget* field, const QString& text) {
    QString pending;
    auto commit = [&] {
        if (!pending.isEmpty()) {
            QInputMethodEvent event;
            event.setCommitString(pending);
            QApplication::sendEvent(field, &event);
            pending.clear();
        }
    };
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            commit();
            QTest::keyClicks(field, QString(ch));
        } else {
            pending += ch;
        }
    }
    commit();
}

bool OwnLoopIsTaking(const CDialog& dlg) {
    return PumpGuard == 0 && QApplication::activeModalWidget() == dlg.GetSafeHwnd();
}

void PostWhenIdle(std::function<void()> action) {
    // Behind what the busy loop has yet to take.
    Post(std::move(action));
}

void DeliverQueuedInput() {
    QCoreApplication::sendPostedEvents();
}

void Post(std::function<void()> action) {
    QMetaObject::invokeMethod(qApp, std::move(action), Qt::QueuedConnection);
}

void PostClick(CDialog& dlg, int id) {
    Post([control = QPointer<QWidget>(dlg.GetDlgItem(id))] {
        if (control != nullptr) {
            QTest::mouseClick(control, Qt::LeftButton);
        }
    });
}

void PostKey(CDialog& dlg, Key key) {
    PostKeyTo(dlg.GetSafeHwnd(), key);
}

void PostKeyTo(QWidget* window, Key key) {
    if (window == nullptr) {
        return;
    }
    Post([target = QPointer<QWidget>(FocusOrWindow(window)), key] {
        if (target != nullptr) {
            PressAndRelease(target, key);
        }
    });
}

void PostClose(CDialog& dlg) {
    Post([window = QPointer<QWidget>(dlg.GetSafeHwnd())] {
        if (window != nullptr) {
            window->close();
        }
    });
}

void PostSysCommand(CDialog& dlg, unsigned id) {
    Post([&dlg, window = QPointer<QWidget>(dlg.GetSafeHwnd()), id] {
        if (window != nullptr) {
            dlg.SendSysCommand(id);
        }
    });
}

void TypeInto(CDialog& dlg, int id, const CString& text) {
    Post([&dlg, field = QPointer<QWidget>(dlg.GetDlgItem(id)), id, text] {
        if (field != nullptr) {
            dlg.GotoDlgCtrl(id);
            TypeText(field, ToQt(text));
        }
    });
}

void ClickThroughSystem(CDialog& dlg, int id) {
    QWidget* window = dlg.GetSafeHwnd();
    QWidget* control = dlg.GetDlgItem(id);
    if (window == nullptr || control == nullptr) {
        ReportDriverFailure("no control " + std::to_string(id) + " to click");
        return;
    }
    // QTest's input for a window (not a widget) enters through the window
    // system interface, as the platform's own events do.
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      control->mapTo(window, control->rect().center()));
}

void CloseThroughSystem(CDialog& dlg) {
    if (QWidget* window = dlg.GetSafeHwnd()) {
        // What the platform does with the window manager's close request
        // (QWindow::close would skip the modal check).
        QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::SynchronousDelivery>(
            window->windowHandle());
    }
}

CString ShownText(const CDialog& dlg, int id) {
    QWidget* control = dlg.GetDlgItem(id);
    if (const auto* box = qobject_cast<const QGroupBox*>(control)) {
        return FromQt(box->title());
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        return FromQt(button->text());
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        return FromQt(label->text());
    }
    return control != nullptr ? ControlText(control) : CString();
}

bool IsWindowShown(const CDialog& dlg) {
    return dlg.GetSafeHwnd() != nullptr && dlg.GetSafeHwnd()->isVisible();
}

void WhenModalOpens(const CDialog& owner, std::function<void(const ModalWindowView&)> look,
                    ModalClose close) {
    Post([window = QPointer<QWidget>(owner.GetSafeHwnd()), look = std::move(look), close] {
        LookWhenOpen(window, look, close);
    });
}
