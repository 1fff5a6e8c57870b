#include "framework/window/icon.h"

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
