#include "image_fixture.h"

#include "imagetool/image_browser.h"
#include "ui/image_list.h"
#include "ui/pc_explorer.h"

#include <QDir>
#include <QFile>
#include <QProcess>

namespace corvel::test {

void ImageFixture::SetUp() {
    AppFixture::SetUp();
    QDir().mkpath(startFolder() + QStringLiteral("hdfmonkey"));
    ASSERT_TRUE(QFile::link(QStringLiteral(CORVEL_IMAGETOOL_PATH),
                            startFolder() + QStringLiteral("hdfmonkey/hdfmonkey")));
    start();
    m_logLinesAtStart = static_cast<int>(logLines().size());
}

void ImageFixture::makeImage(ImageKind kind) {
    QDir().mkpath(startFolder() + QStringLiteral("img"));
    int code = -1;
    if (kind == ImageKind::Partitioned) {
        tool({QStringLiteral("create"), imageFile(), QStringLiteral("40M")}, &code);
    } else {
        const bool fat32 = kind == ImageKind::BareFat32;
        code = QProcess::execute(QStringLiteral("mkfs.fat"),
                                 {QStringLiteral("-C"), QStringLiteral("-F"),
                                  fat32 ? QStringLiteral("32") : QStringLiteral("16"), imageFile(),
                                  fat32 ? QStringLiteral("70000") : QStringLiteral("20000")});
    }
    ASSERT_EQ(code, 0);
    m_state.imagePath = u'"' + imageFile() + u'"';
    m_state.imageDir.clear();
}

QStringList ImageFixture::tool(const QStringList& args, int* exitCode) const {
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(QStringLiteral(CORVEL_IMAGETOOL_PATH), args);
    process.waitForFinished(60000);
    if (exitCode != nullptr)
        *exitCode = process.exitCode();
    QString out = QString::fromUtf8(process.readAllStandardOutput());
    if (out.endsWith(u'\n'))
        out.chop(1);
    return out.isEmpty() ? QStringList() : out.split(u'\n');
}

void ImageFixture::putText(const QString& imagePath, const QByteArray& text) {
    const QString source = writeFile(QStringLiteral("seed/") + imagePath.section(u'/', -1), text);
    int code = -1;
    tool({QStringLiteral("put"), imageFile(), source, imagePath}, &code);
    ASSERT_EQ(code, 0) << imagePath.toStdString();
}

void ImageFixture::makeImageFolder(const QString& imagePath) {
    int code = -1;
    tool({QStringLiteral("mkdir"), imageFile(), imagePath}, &code);
    ASSERT_EQ(code, 0) << imagePath.toStdString();
}

QStringList ImageFixture::imageListing(const QString& dir) const {
    return tool({QStringLiteral("ls"), imageFile(), dir});
}

QByteArray ImageFixture::imageFileBytes(const QString& imagePath) {
    const QString out = startFolder() + QStringLiteral("fetched");
    QFile::remove(out);
    tool({QStringLiteral("get"), imageFile(), imagePath, out});
    QFile file(out);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList ImageFixture::rows() const {
    QStringList result;
    const MainWindow& w = window();
    for (int row = 0; row < w.imageRowCount(); ++row)
        result << w.imageCell(row, 1) + u'|' + w.imageCell(row, 2) + u'|' + w.imageCell(row, 3);
    return result;
}

int ImageFixture::rowOf(const QString& name) const {
    for (int row = 0; row < window().imageRowCount(); ++row) {
        if (window().imageCell(row, 1) == name)
            return row;
    }
    return -1;
}

void ImageFixture::selectRows(const QList<int>& rows) {
    ImageList* list = window().imageList();
    list->clearSelection();
    for (int row : rows) {
        ASSERT_GE(row, 0);
        list->selectionModel()->select(list->model()->index(row, 1),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

void ImageFixture::selectExplorerEntries(const QStringList& names) {
    PcExplorer* explorer = window().pcExplorer();
    explorer->clearSelection();
    for (const QString& name : names) {
        int found = -1;
        for (int i = 0; i < explorer->entryCount(); ++i) {
            if (explorer->entryName(i) == name)
                found = i;
        }
        ASSERT_GE(found, 0) << name.toStdString();
        explorer->selectionModel()->select(explorer->model()->index(found, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

QString ImageFixture::writeScript(const QString& name, const QByteArray& body) const {
    const QString path = writeFile(name, QByteArray("#!/bin/sh\n") + body);
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    return path;
}

QStringList ImageFixture::newLogLines() const {
    QStringList lines = logLines().mid(m_logLinesAtStart);
    lines.removeAll(QString());
    return lines;
}

} // namespace corvel::test
