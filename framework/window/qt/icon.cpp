#include <QCoreApplication>
#include <QIcon>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QSize>
#include <map>

#include "framework/window/icon.h"
#include "framework/window/qt/window_icon.h"

namespace {

// The icons loaded so far, one per resource, kept by the application object
// as the system keeps a program's shared icons.
class LoadedIcons : public QObject {
public:
    std::map<const IconResource*, QIcon> icons;
};

}  // namespace

HICON LoadIconResource(const IconResource& resource) {
    static QPointer<LoadedIcons> loaded;
    if (loaded == nullptr) {
        // Goes with the application object; a later one loads them again.
        loaded = new LoadedIcons;
        loaded->setParent(qApp);
    }
    const auto [entry, added] = loaded->icons.try_emplace(&resource);
    QIcon& icon = entry->second;
    if (added) {
        if (resource.image32 != nullptr) {
            icon.addPixmap(QPixmap(resource.image32));
        }
        if (resource.image16 != nullptr) {
            icon.addPixmap(QPixmap(resource.image16));
        }
    }
    return icon.isNull() ? nullptr : &icon;
}

QIcon CombineWindowIcons(HICON bigIcon, HICON smallIcon) {
    QIcon combined;
    if (bigIcon != nullptr) {
        for (const QSize& size : bigIcon->availableSizes()) {
            if (size.width() >= 32 || smallIcon == nullptr) {
                combined.addPixmap(bigIcon->pixmap(size));
            }
        }
    }
    if (smallIcon != nullptr) {
        for (const QSize& size : smallIcon->availableSizes()) {
            if (size.width() < 32 || bigIcon == nullptr) {
                combined.addPixmap(smallIcon->pixmap(size));
            }
        }
    }
    return combined;
}
