#include "framework/window/dialog_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>

#include "framework/window/dialog.h"

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
    if (m_dialog != nullptr && m_dialog->HandleDialogKey(this, event->key(), event->modifiers())) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);  // not QDialog's: it has its own Enter and Escape
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    // Reaches the window from its background and from controls without a
    // menu of their own (an edit field keeps its own).
    if (m_dialog != nullptr) {
        m_dialog->ShowWindowMenu(event->globalPos());
    }
    event->accept();
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && m_dialog != nullptr && watched->isWidgetType()) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (m_dialog->HandleDialogKey(static_cast<QWidget*>(watched), keyEvent->key(),
                                      keyEvent->modifiers())) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
