#include "framework/window/qt/dialog_port.h"

#include <QAbstractButton>
#include <QFont>

#include "framework/window/qt/control_factory.h"
#include "framework/window/qt/dialog_accessible.h"
#include "framework/window/qt/system_text.h"
#include "framework/window/qt/template_font.h"

void CDialog::DialogPortDeleter::operator()(DialogPort* port) const {
    delete port;
}

DialogPort::DialogPort(CDialog& dialog, HWND owner) {
    // Before anything (a title, a control) could make Qt ask for the
    // window's interface.
    InstallDialogAccessibility();
    const DialogTemplate& dialogTemplate = dialog.GetTemplate();
    m_window = std::make_unique<DialogWindow>(&dialog, owner);
    m_window->SetFrameStyle(dialogTemplate.style);
    m_window->setWindowTitle(
        ToQt(CString(dialogTemplate.title != nullptr ? dialogTemplate.title : u"")));
    m_window->setFont(TemplateFont(dialogTemplate));
    m_baseUnits = BaseUnitsOf(m_window->font());

    const PixelRect client =
        ToPixels(dialogTemplate.x, dialogTemplate.y, dialogTemplate.cx, dialogTemplate.cy);
    m_window->setFixedSize(client.cx, client.cy);
    if ((dialogTemplate.style & WS_THICKFRAME) != 0) {
        m_window->setMinimumSize(0, 0);
        m_window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        m_window->resize(client.cx, client.cy);
    }
    BuildControls(dialog);
}

DialogPort::~DialogPort() {
    m_window->Detach();
}

QWidget* DialogPort::Control(int id) const {
    const auto found = m_controls.find(id);
    return found != m_controls.end() ? found->second : nullptr;
}

void DialogPort::BuildControls(CDialog& dialog) {
    const DialogTemplate& dialogTemplate = dialog.GetTemplate();
    QWidget* previous = nullptr;
    for (int i = 0; i < dialogTemplate.itemCount; ++i) {
        const DialogItemTemplate& item = dialogTemplate.items[i];
        QWidget* control =
            CreateControl(item, ToPixels(item.x, item.y, item.cx, item.cy), m_window.get());
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            ConnectClick(button, dialog, item.id);
        }
        control->installEventFilter(m_window.get());  // the dialog keys
        if (item.id != IDC_STATIC) {
            m_controls.emplace(item.id, control);
        }
        // The template order is the tab order.
        if (previous != nullptr) {
            QWidget::setTabOrder(previous, control);
        }
        previous = control;
    }
}

PixelRect DialogPort::ToPixels(int x, int y, int cx, int cy) const {
    return DialogUnitsToPixels(m_baseUnits, x, y, cx, cy);
}
