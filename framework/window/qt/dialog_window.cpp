#include "framework/window/qt/dialog_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>

#include "framework/window/dialog.h"

DialogWindow::DialogWindow(CDialog* dialog, QWidget* parent) : QDialog(parent), m_dialog(dialog) {}

void DialogWindow::SetFrameStyle(std::uint32_t style) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if ((style & WS_CAPTION) == WS_CAPTION) {
        flags |= Qt::WindowTitleHint;
    }
    if ((style & WS_SYSMENU) != 0) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if ((style & WS_MINIMIZEBOX) != 0) {
            flags |= Qt::WindowMinimizeButtonHint;
        }
        if ((style & WS_MAXIMIZEBOX) != 0) {
            flags |= Qt::WindowMaximizeButtonHint;
        }
    }
    if ((style & WS_THICKFRAME) == 0) {
        flags |= Qt::MSWindowsFixedSizeDialogHint;
    }
    setWindowFlags(flags);
    setSizeGripEnabled(false);
    m_maximizable = flags.testFlag(Qt::WindowMaximizeButtonHint);
}

void DialogWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // As on Windows, a window without a maximise box is not maximised; put
    // back at once, it is the normal window the compositor is told of.
    if (event->type() == QEvent::WindowStateChange && !m_maximizable &&
        windowState().testFlag(Qt::WindowMaximized)) {
        setWindowState(windowState() & ~Qt::WindowMaximized);
    }
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The close request never closes the window by itself: the dialog's
    // close handling decides (by default it issues IDCANCEL).
    event->ignore();
    if (m_dialog != nullptr) {
        m_dialog->SendEvent(MessageEvent::close);
    }
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    if (m_dialog != nullptr && HandleDialogKey(this, event->key(), event->modifiers())) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);  // not QDialog's: it has its own Enter and Escape
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    // Reaches the window from its background and from controls without a
    // menu of their own (an edit field keeps its own).
    if (m_dialog != nullptr) {
        m_dialog->ShowWindowMenu(event->globalPos().x(), event->globalPos().y());
    }
    event->accept();
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && m_dialog != nullptr && watched->isWidgetType()) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (HandleDialogKey(static_cast<QWidget*>(watched), keyEvent->key(),
                            keyEvent->modifiers())) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool DialogWindow::HandleDialogKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
    if (m_dialog == nullptr) {
        return false;
    }
    const bool menuKey = key == Qt::Key_Menu ||
                         (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier) ||
                         (key == Qt::Key_Space && modifiers == Qt::AltModifier);
    if (menuKey) {
        const QPoint origin = mapToGlobal(QPoint(0, 0));
        m_dialog->ShowWindowMenu(origin.x(), origin.y());
        return true;
    }
    if (key == Qt::Key_F1 && modifiers == Qt::NoModifier) {
        m_dialog->SendEvent(MessageEvent::command, static_cast<int>(ID_HELP));
        return true;
    }
    if (key == Qt::Key_Escape) {
        m_dialog->SendEvent(MessageEvent::command, IDCANCEL);
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        auto* button = qobject_cast<QPushButton*>(target);
        if (button != nullptr && button != static_cast<QWidget*>(this) && button->isEnabled() &&
            button->isVisible()) {
            button->click();  // its click runs through the message map
        } else {
            m_dialog->SendEvent(MessageEvent::command, IDOK);
        }
        return true;
    }
    return false;
}
