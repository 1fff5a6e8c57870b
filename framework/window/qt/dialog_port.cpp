#include "framework/window/qt/dialog_port.h"

#include <QAbstractButton>
#include <QFont>
#include <utility>

#include "framework/window/qt/control_factory.h"
#include "framework/window/qt/dialog_window.h"
#include "framework/window/qt/system_text.h"
#include "framework/window/qt/template_font.h"

void CDialog::PortDeleter::operator()(Port* port) const {
    delete port;
}

void CDialog::Port::MakeWindow(CDialog& dialog, HWND owner) {
    const DialogTemplate& dialogTemplate = dialog.m_template;
    auto* window = new DialogWindow(&dialog, owner);
    dialog.m_hWnd = window;
    dialog.m_port.reset(new Port);
    dialog.m_windowMenu = CMenu::PlatformWindowMenu();

    window->SetFrameStyle(dialogTemplate.style);
    window->setWindowTitle(
        ToQt(CString(dialogTemplate.title != nullptr ? dialogTemplate.title : u"")));
    window->setFont(TemplateFont(dialogTemplate));
    dialog.m_baseUnits = BaseUnitsOf(window->font());

    const PixelRect client = dialog.MapDialogRect(dialogTemplate.x, dialogTemplate.y,
                                                  dialogTemplate.cx, dialogTemplate.cy);
    window->setFixedSize(client.cx, client.cy);
    if ((dialogTemplate.style & WS_THICKFRAME) != 0) {
        window->setMinimumSize(0, 0);
        window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        window->resize(client.cx, client.cy);
    }

    BuildControls(dialog, *dialog.m_port);
    // WM_INITDIALOG.
    dialog.RunInitDialog();
}

void CDialog::Port::BuildControls(CDialog& dialog, Port& port) {
    QWidget* previous = nullptr;
    for (int i = 0; i < dialog.m_template.itemCount; ++i) {
        const DialogItemTemplate& item = dialog.m_template.items[i];
        QWidget* control = CreateControl(
            item, dialog.MapDialogRect(item.x, item.y, item.cx, item.cy), dialog.m_hWnd);
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            ConnectClick(button, dialog, item.id);
        }
        control->installEventFilter(dialog.m_hWnd);  // the dialog keys
        if (item.id != IDC_STATIC) {
            port.controls.emplace(item.id, control);
        }
        // The template order is the tab order.
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
}

void CDialog::Port::DestroyWindow(CDialog& dialog) {
    if (dialog.m_hWnd == nullptr) {
        return;
    }
    dialog.SendEvent(MessageEvent::destroy);
    DeleteWindow(dialog);
}

void CDialog::Port::DeleteWindow(CDialog& dialog) {
    auto* window = static_cast<DialogWindow*>(std::exchange(dialog.m_hWnd, nullptr));
    if (window == nullptr) {
        return;
    }
    // Detached first, so that nothing the window sees while it goes reaches the dialog.
    window->Detach();
    dialog.m_port.reset();
    delete window;
}
