#include "framework/window/qt/file_drop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

namespace {

// The local path of the first dropped item; empty when there is none.
QString LocalPathOf(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty()) {
        return QString();
    }
    const QUrl& url = data->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

class FileDropFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* field = qobject_cast<QLineEdit*>(watched);
        if (field == nullptr || !field->isEnabled()) {
            return false;
        }
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!LocalPathOf(drag->mimeData()).isEmpty()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString path = LocalPathOf(drop->mimeData());
            if (!path.isEmpty()) {
                // Through the field's own editing, so typing's undo and
                // change signals see it as any edit.
                field->selectAll();
                field->insert(path);
                drop->acceptProposedAction();
                return true;
            }
        }
        return false;
    }
};

}  // namespace

void AcceptFileDrops(QLineEdit* field) {
    field->setAcceptDrops(true);
    field->installEventFilter(new FileDropFilter(field));
}
