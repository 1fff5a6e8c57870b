#include "framework/window/qt/dialog_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QList>
#include <QVariant>
#include <QWidget>

#include "framework/window/qt/dialog_window.h"

namespace {

constexpr char kHiddenProperty[] = "tesserakHiddenFromAssistiveTechnologies";

bool IsHidden(const QAccessibleInterface* control) {
    return control->object() != nullptr && control->object()->property(kHiddenProperty).toBool();
}

// The dialog's window with the children Qt finds for it, less the hidden ones.
class DialogAccessible : public QAccessibleWidget {
public:
    explicit DialogAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Dialog) {}

    int childCount() const override { return static_cast<int>(Children().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QAccessibleInterface*> children = Children();
        return index >= 0 && index < children.size() ? children.at(index) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return static_cast<int>(Children().indexOf(const_cast<QAccessibleInterface*>(child)));
    }

private:
    QList<QAccessibleInterface*> Children() const {
        QList<QAccessibleInterface*> children;
        const int count = QAccessibleWidget::childCount();
        for (int i = 0; i < count; ++i) {
            QAccessibleInterface* control = QAccessibleWidget::child(i);
            if (control != nullptr && !IsHidden(control)) {
                children.append(control);
            }
        }
        return children;
    }
};

QAccessibleInterface* DialogAccessibleFactory(const QString&, QObject* object) {
    if (auto* window = dynamic_cast<DialogWindow*>(object)) {
        return new DialogAccessible(window);
    }
    return nullptr;
}

}  // namespace

void HideFromAssistiveTechnologies(QWidget* control) {
    control->setProperty(kHiddenProperty, true);
}

void InstallDialogAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(DialogAccessibleFactory);
        return true;
    }();
    (void)installed;
}
