#include "framework/window/qt/control_text.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>

#include "framework/window/control_text.h"
#include "framework/window/qt/system_text.h"

namespace {

// The widget properties that hold a control's id and its exact text.
constexpr char kIdProperty[] = "tesserakControlId";
constexpr char kTextProperty[] = "tesserakText";

}  // namespace

void SetControlId(QWidget* control, int id) {
    control->setProperty(kIdProperty, id);
}

int ControlId(const QWidget* control) {
    return control->property(kIdProperty).toInt();
}

void SetControlText(QWidget* control, const CString& text) {
    control->setProperty(kTextProperty, ToQt(text));
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(ToQt(text));
    } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
        box->setTitle(ToQt(CaptionOnOneLine(text)));
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(ToDisplayText(text));
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(ToDisplayText(text));
    }
}

CString ControlText(const QWidget* control) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        return FromQt(edit->text());
    }
    return FromQt(control->property(kTextProperty).toString());
}
