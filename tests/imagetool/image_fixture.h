#pragma once

#include "support/app_fixture.h"

#include <ostream>
#include <QString>
#include <QStringList>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace corvel::test {

// A started application whose start folder holds the bundled image tool as hdfmonkey/hdfmonkey
// and, once made, a real FAT image that the window is pointed at.
class ImageFixture : public AppFixture {
protected:
    enum class ImageKind { Partitioned, BareFat16, BareFat32 };

    void SetUp() override;

    // Makes img/test.img (create for a partitioned one, mkfs.fat for bare volumes) and selects
    // it the way the settings file brings it back: quoted, at the root.
    void makeImage(ImageKind kind = ImageKind::Partitioned);
    QString imageFile() const { return startFolder() + QStringLiteral("img/test.img"); }

    // The bundled tool run directly, to seed an image and to check it afterwards.
    QStringList tool(const QStringList& args, int* exitCode = nullptr) const;
    void putText(const QString& imagePath, const QByteArray& text);
    void makeImageFolder(const QString& imagePath);
    QStringList imageListing(const QString& dir = QString()) const;
    QByteArray imageFileBytes(const QString& imagePath);

    // The rows of the image list as "name|type|size", and the row of a name (-1 when absent).
    QStringList rows() const;
    int rowOf(const QString& name) const;
    void selectRows(const QList<int>& rows);
    void selectExplorerEntries(const QStringList& names);
    // Writes an executable shell script into the start folder and returns its path.
    QString writeScript(const QString& name, const QByteArray& body) const;
    // Lines logged after the greeting of start-up.
    QStringList newLogLines() const;

    int m_logLinesAtStart = 0;
};

} // namespace corvel::test
