#include "framework/window/qt/group_box_style.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>

namespace {

// Where the caption starts, from the box's left edge, and the background kept
// clear of the frame on either side of it, in pixels.
constexpr int kCaptionIndent = 8;
constexpr int kCaptionGap = 2;

const QStyleOptionGroupBox* PlainGroupBox(const QStyleOptionComplex* option) {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    return box != nullptr && (box->subControls & QStyle::SC_GroupBoxCheckBox) == 0 ? box : nullptr;
}

}  // namespace

QRect GroupBoxStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                    SubControl subControl, const QWidget* widget) const {
    const QStyleOptionGroupBox* box = control == CC_GroupBox ? PlainGroupBox(option) : nullptr;
    if (box == nullptr) {
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
    const int textHeight = box->fontMetrics.height();
    const QRect frame = box->rect.adjusted(0, textHeight / 2, 0, 0);
    switch (subControl) {
        case SC_GroupBoxFrame:
            return frame;
        case SC_GroupBoxLabel:
            return QRect(box->rect.left() + kCaptionIndent, box->rect.top(),
                         box->fontMetrics.horizontalAdvance(box->text), textHeight);
        case SC_GroupBoxContents:
            return frame.adjusted(2, textHeight - textHeight / 2, -2, -2);
        default:
            return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
}

void GroupBoxStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                       QPainter* painter, const QWidget* widget) const {
    const QStyleOptionGroupBox* box = control == CC_GroupBox ? PlainGroupBox(option) : nullptr;
    if (box == nullptr) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QRect frame = subControlRect(control, option, SC_GroupBoxFrame, widget);
    const QRect caption = subControlRect(control, option, SC_GroupBoxLabel, widget);
    painter->save();
    if (!box->text.isEmpty()) {
        painter->setClipRegion(
            QRegion(box->rect).subtracted(caption.adjusted(-kCaptionGap, 0, kCaptionGap, 0)));
    }
    // Etched: a shadow line with a light one just inside and below it.
    painter->setPen(box->palette.color(QPalette::Mid));
    painter->drawRect(frame.adjusted(0, 0, -2, -2));
    painter->setPen(box->palette.color(QPalette::Light));
    painter->drawRect(frame.adjusted(1, 1, -1, -1));
    painter->setClipping(false);
    drawItemText(painter, caption, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                 box->palette, (box->state & State_Enabled) != 0, box->text, QPalette::WindowText);
    painter->restore();
}

QStyle* DialogGroupBoxStyle() {
    // Goes with the application object; a later one gets a new style.
    static QPointer<GroupBoxStyle> style;
    if (style == nullptr) {
        style = new GroupBoxStyle(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(qApp);
    }
    return style;
}
