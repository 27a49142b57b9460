#include "path_helpers.h"

#include <QDir>

namespace corvel {

// "/" separates image paths everywhere; PC paths use the system's own separator as well. Where
// that is "/" too, a backslash is an ordinary character of a file name.
static bool isSeparator(QChar c) {
    return c == u'/' || c == QDir::separator();
}

static qsizetype skipLeadingQuote(const QString& path) {
    return path.startsWith(u'"') ? 1 : 0;
}

QString folderPart(const QString& path) {
    const qsizetype start = skipLeadingQuote(path);
    qsizetype end = path.indexOf(u'|', start);
    if (end < 0)
        end = path.size();
    qsizetype lastSeparator = -1;
    for (qsizetype i = start; i < end; ++i) {
        if (isSeparator(path[i]))
            lastSeparator = i;
    }
    if (lastSeparator < 0)
        return {};
    return path.mid(start, lastSeparator - start + 1);
}

QString filePart(const QString& path) {
    qsizetype start = skipLeadingQuote(path);
    for (qsizetype i = path.size() - 1; i >= start; --i) {
        if (isSeparator(path[i])) {
            start = i + 1;
            break;
        }
    }
    qsizetype end = path.indexOf(u'"', start);
    if (end < 0)
        end = path.size();
    return path.mid(start, end - start);
}

QString extensionPart(const QString& path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path[i];
        if (c == u' ' || isSeparator(c))
            return {};
        if (c == u'.') {
            if (i == 0 || isSeparator(path[i - 1]))
                return {};
            qsizetype end = path.indexOf(u'"', i + 1);
            if (end < 0)
                end = path.size();
            return path.mid(i + 1, end - i - 1);
        }
    }
    return {};
}

} // namespace corvel
