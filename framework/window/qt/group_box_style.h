// The look of a dialog's group box as its template was laid out for: the
// frame's top edge runs through the middle of the caption, which stands on
// the frame a little in from its left end with the dialog's background behind
// it; the frame is an etched line. The template puts controls just under the
// caption (the column headings of the row folders), which Qt's own group box,
// with its frame below the caption, would cross.
//
// A proxy over the application's style: everything but a group box without a
// check box looks as the style draws it.
#pragma once

#include <QProxyStyle>

class GroupBoxStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    // SC_GroupBoxFrame: the box's rectangle from the middle of the caption
    // down; SC_GroupBoxLabel: where the caption stands; SC_GroupBoxContents:
    // inside the frame.
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl subControl, const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
};

// The style of every dialog's group boxes, over the application's style; made
// on first use and owned by the application object.
QStyle* DialogGroupBoxStyle();
