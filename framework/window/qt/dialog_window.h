// DialogWindow: the Qt window of a CDialog. It forwards the close request and
// the dialog keys (Enter, Escape) of itself and of its controls to the
// CDialog, which runs them through its message map; it never closes itself.
#pragma once

#include <QDialog>
#include <cstdint>

class CDialog;

class DialogWindow : public QDialog {
public:
    DialogWindow(CDialog* dialog, QWidget* parent);

    // Forwards nothing more: the CDialog is going away.
    void Detach() { m_dialog = nullptr; }

    // The frame a template's style asks for: a title bar with the system
    // menu's close box; minimise and maximise boxes only where the style asks;
    // a fixed size unless it has a sizing border. A frame without a maximise
    // box is never left maximised (see changeEvent).
    void SetFrameStyle(std::uint32_t style);

protected:
    // Takes back a maximise the frame does not offer: on Wayland Qt draws the
    // title bar itself, with a maximise button whatever the window asked for.
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A right click opens the dialog's window menu.
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The keys of the controls, which have this window as their filter.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Enter, Escape, F1 and the window-menu keys on `target` (this window or
    // one of its controls); true when the key was taken.
    bool HandleDialogKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers);

    CDialog* m_dialog;
    bool m_maximizable = true;
};
