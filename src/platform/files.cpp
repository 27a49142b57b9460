#include "files.h"

#include <cstdlib>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

namespace corvel::platform {

QString asFolderPath(const QString& path) {
    QString folder = QDir::toNativeSeparators(path);
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder;
}

QString workingDirectory() {
    return asFolderPath(QDir::currentPath());
}

QStringList mountedVolumeFolders() {
    QStringList folders;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            folders << asFolderPath(volume.rootPath());
    }
    return folders;
}

bool setWorkingDirectory(const QString& path) {
    return QDir::setCurrent(path);
}

QString environmentValue(const QString& name) {
    return QString::fromLocal8Bit(qgetenv(name.toLocal8Bit().constData()));
}

PathKind pathKind(const QString& path) {
    if (path.isEmpty())
        return PathKind::Missing;
    const QFileInfo info(path);
    if (!info.exists())
        return PathKind::Missing;
    return info.isDir() ? PathKind::Folder : PathKind::File;
}

bool makeFolder(const QString& path) {
    return QDir().mkpath(path);
}

bool deleteFile(const QString& path) {
    return QFile::remove(path);
}

static QStringList splitLines(const QString& text) {
    QStringList lines;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines << current;
            current.clear();
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
        } else {
            current += c;
        }
    }
    if (!current.isEmpty())
        lines << current;
    return lines;
}

std::optional<QStringList> readTextLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return splitLines(QString::fromUtf8(bytes));
}

std::optional<QString> readFirstLine(const QString& path) {
    auto lines = readTextLines(path);
    if (!lines)
        return std::nullopt;
    return lines->isEmpty() ? QString() : lines->first();
}

bool writeTextLinesAtomically(const QString& path, const QStringList& lines) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const QString& line : lines) {
        const QByteArray bytes = line.toUtf8() + "\r\n";
        if (file.write(bytes) != bytes.size()) {
            file.cancelWriting();
            return false;
        }
    }
    // The lines sit in QSaveFile's buffer until here, and its commit does not notice a failed
    // final write: it would rename a cut-short file onto the old one. Flush first and give up.
    if (!file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace corvel::platform
