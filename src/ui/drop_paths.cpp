#include "drop_paths.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace corvel {

bool acceptsFileDrop(const QMimeData* mime) {
    return mime != nullptr &&
           (mime->hasUrls() || mime->hasFormat(QString::fromLatin1(ImageRowsMimeType)));
}

bool acceptCopyDrop(QDropEvent* event) {
    if (!acceptsFileDrop(event->mimeData()))
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

QStringList droppedPaths(const QMimeData* mime) {
    QStringList paths;
    if (mime == nullptr)
        return paths;
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile())
            paths << QDir::toNativeSeparators(url.toLocalFile());
    }
    return paths;
}

QMimeData* makeFileDragData(const QStringList& paths) {
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        if (!path.isEmpty())
            urls << QUrl::fromLocalFile(path);
    }
    if (urls.isEmpty())
        mime->setData(QString::fromLatin1(ImageRowsMimeType), QByteArray());
    else
        mime->setUrls(urls);
    return mime;
}

} // namespace corvel
