#include "framework/window/qt/window_icon.h"

#include <QPixmap>

HICON LoadIconResource(const IconResource& resource) {
    QIcon icon;
    if (resource.image32 != nullptr) {
        icon.addPixmap(QPixmap(resource.image32));
    }
    if (resource.image16 != nullptr) {
        icon.addPixmap(QPixmap(resource.image16));
    }
    return icon;
}

HICON CombineWindowIcons(const HICON& bigIcon, const HICON& smallIcon) {
    QIcon combined;
    for (const QSize& size : bigIcon.availableSizes()) {
        if (size.width() >= 32 || smallIcon.isNull()) {
            combined.addPixmap(bigIcon.pixmap(size));
        }
    }
    for (const QSize& size : smallIcon.availableSizes()) {
        if (size.width() < 32 || bigIcon.isNull()) {
            combined.addPixmap(smallIcon.pixmap(size));
        }
    }
    return combined;
}
