#include "framework/window/qt/control_factory.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "framework/window/dialog.h"
#include "framework/window/icon.h"
#include "framework/window/qt/control_text.h"
#include "framework/window/qt/dialog_accessible.h"
#include "framework/window/qt/file_drop.h"
#include "framework/window/qt/group_box_style.h"

namespace {

// An automatic radio button that starts a group of its own: never exclusive
// by itself, and a click always selects (a second click does not clear it).
class AutoRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override { setChecked(true); }
    // The whole control takes the click, as the platform's buttons do (Qt
    // takes it on the indicator and the text only).
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

// Assistive technologies take a checkable button that is not auto-exclusive
// for a check box; these are the dialog's radio buttons all the same.
class RadioButtonAccessible : public QAccessibleWidget {
public:
    explicit RadioButtonAccessible(QRadioButton* button)
        : QAccessibleWidget(button, QAccessible::RadioButton) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = static_cast<QRadioButton*>(widget())->isChecked();
        return state;
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            return static_cast<QRadioButton*>(widget())->text().remove(QLatin1Char('&'));
        }
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* RadioButtonAccessibleFactory(const QString&, QObject* object) {
    if (auto* button = dynamic_cast<AutoRadioButton*>(object)) {
        return new RadioButtonAccessible(button);
    }
    return nullptr;
}

bool IsFrame(const DialogItemTemplate& item) {
    return item.windowClass == DialogItemClass::button && (item.style & BS_TYPEMASK) == BS_GROUPBOX;
}

bool IsIcon(const DialogItemTemplate& item) {
    return item.windowClass == DialogItemClass::staticText && (item.style & SS_TYPEMASK) == SS_ICON;
}

// How a control that can take the focus takes it: by Tab only when it is a
// tab stop, by a click always.
Qt::FocusPolicy FocusPolicyOf(const DialogItemTemplate& item) {
    return (item.style & WS_TABSTOP) != 0 ? Qt::StrongFocus : Qt::ClickFocus;
}

QWidget* CreateButton(const DialogItemTemplate& item, QWidget* parent) {
    const std::uint32_t kind = item.style & BS_TYPEMASK;
    if (kind == BS_GROUPBOX) {
        auto* box = new QGroupBox(parent);
        box->setStyle(DialogGroupBoxStyle());
        box->setFocusPolicy(Qt::NoFocus);
        return box;
    }
    if (kind == BS_AUTORADIOBUTTON) {
        static const bool accessibleAsRadio = [] {
            QAccessible::installFactory(RadioButtonAccessibleFactory);
            return true;
        }();
        (void)accessibleAsRadio;
        auto* radio = new AutoRadioButton(parent);
        radio->setAutoExclusive(false);
        radio->setFocusPolicy(FocusPolicyOf(item));
        return radio;
    }
    auto* button = new QPushButton(parent);
    button->setAutoDefault(false);
    button->setDefault(false);
    button->setFocusPolicy(FocusPolicyOf(item));
    return button;
}

QWidget* CreateEdit(const DialogItemTemplate& item, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setFrame((item.style & WS_BORDER) != 0);
    edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    edit->setFocusPolicy(FocusPolicyOf(item));
    AcceptFileDrops(edit);
    return edit;
}

QWidget* CreateStatic(const DialogItemTemplate& item, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFocusPolicy(Qt::NoFocus);
    if (IsIcon(item) && item.icon != nullptr) {
        if (const HICON icon = LoadIconResource(*item.icon)) {
            label->setPixmap(icon->pixmap(32, 32));
        }
    } else {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    return label;
}

// The widget of the kind the item's window class and style ask for.
QWidget* CreateWidget(const DialogItemTemplate& item, QWidget* parent) {
    switch (item.windowClass) {
        case DialogItemClass::button:
            return CreateButton(item, parent);
        case DialogItemClass::edit:
            return CreateEdit(item, parent);
        case DialogItemClass::staticText:
            break;
    }
    return CreateStatic(item, parent);
}

}  // namespace

QWidget* CreateControl(const DialogItemTemplate& item, const PixelRect& rect, QWidget* parent) {
    QWidget* control = CreateWidget(item, parent);
    SetControlId(control, item.id);
    control->setObjectName(QStringLiteral("control%1").arg(item.id));
    control->setGeometry(rect.x, rect.y, rect.cx, rect.cy);
    if (IsFrame(item) || item.windowClass == DialogItemClass::staticText) {
        // Frames and labels take no mouse input: a click goes to what is beneath.
        control->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    if (IsFrame(item)) {
        control->lower();  // a frame stays behind the controls inside it
    }
    control->setEnabled((item.style & WS_DISABLED) == 0);
    control->setVisible((item.style & WS_VISIBLE) != 0);
    if ((item.style & WS_VISIBLE) == 0) {
        HideFromAssistiveTechnologies(control);  // never shown, never reached
    }
    if (!IsIcon(item)) {
        SetControlText(control, CString(item.text != nullptr ? item.text : u""));
    }
    return control;
}

void ConnectClick(QAbstractButton* button, CDialog& dialog, int id) {
    QObject::connect(button, &QAbstractButton::clicked, button,
                     [&dialog, id] { dialog.SendEvent(MessageEvent::command, id); });
}
