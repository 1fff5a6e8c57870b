// The group boxes of every dialog template as the style draws them: the
// frame's top edge through the middle of the caption, where the pixels show
// it, and no line of a frame across any control of the dialog.
#include <gtest/gtest.h>

#include <QGroupBox>
#include <QImage>
#include <QStyleOptionGroupBox>

#include "tests/support/dialog_driver.h"
#include "ui/about_dialog.h"
#include "ui/main_dialog.h"

namespace {

// The frame rectangle the style gives `box`, in its own coordinates.
QRect FrameOf(const QGroupBox* box) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame,
                                        box);
}

// The first row, at column `x` of the box's own picture, that differs from
// the row above the frame.
int FirstDrawnRow(QGroupBox* box, int x) {
    const QImage picture = box->grab().toImage();
    for (int y = 1; y < picture.height(); ++y) {
        if (picture.pixel(x, y) != picture.pixel(x, 0)) {
            return y;
        }
    }
    return -1;
}

void ExpectFramesClearOfControls(CDialog& dlg) {
    RunModal(dlg, [&] {
        QWidget* window = dlg.GetSafeHwnd();
        const auto boxes = window->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly);
        for (QGroupBox* box : boxes) {
            SCOPED_TRACE(box->title().toStdString());
            const QRect frame = FrameOf(box);
            // Its top edge is at the caption's middle, and drawn there.
            EXPECT_EQ(frame.top(), box->fontMetrics().height() / 2);
            EXPECT_EQ(FirstDrawnRow(box, box->width() - 6), frame.top());
            // Each line of the frame (two pixels, etched), in the dialog.
            const QRect f = frame.translated(box->pos());
            const QRect lines[] = {{f.left(), f.top(), f.width(), 2},
                                   {f.left(), f.bottom() - 1, f.width(), 2},
                                   {f.left(), f.top(), 2, f.height()},
                                   {f.right() - 1, f.top(), 2, f.height()}};
            for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (qobject_cast<QGroupBox*>(control) != nullptr) {
                    continue;
                }
                for (const QRect& line : lines) {
                    EXPECT_FALSE(line.intersects(control->geometry()))
                        << control->objectName().toStdString();
                }
            }
        }
    });
}

TEST(GroupBoxTest, EveryFrameRunsThroughItsCaptionAndCrossesNoControl) {
    CSplitJoinDlg main;
    ExpectFramesClearOfControls(main);
    CAboutDlg about;
    ExpectFramesClearOfControls(about);
}

}  // namespace
