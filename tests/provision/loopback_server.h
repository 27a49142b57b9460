#pragma once

#include <memory>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace corvel::test {

// The loopback HTTP and HTTPS server of the download tests: a real python process serving the
// files of its root folder plus a few misbehaving routes (see http_server.py). The HTTPS side
// uses a self-signed certificate made at start, so verification must refuse it.
class LoopbackServer final {
public:
    LoopbackServer();
    ~LoopbackServer();

    bool running() const { return m_httpPort != 0; }
    QString url(const QString& path) const;
    QString httpsUrl(const QString& path) const;
    QString root() const { return m_root.path() + u'/'; }
    // Writes a file the server then serves under /name.
    QString serve(const QString& name, const QByteArray& bytes) const;

private:
    QTemporaryDir m_root;
    QTemporaryDir m_keys;
    QProcess m_process;
    int m_httpPort = 0;
    int m_httpsPort = 0;
};

// Runs a program to its end; true when it exited with 0.
bool runProgram(const QString& program, const QStringList& arguments,
                const QString& folder = QString());
// A zip holding the given files (name, content) at its top level.
bool makeZip(const QString& zipPath, const QList<std::pair<QString, QByteArray>>& files);
// A small bare FAT volume made by mkfs.fat.
QByteArray makeFatImage(int kibibytes);

} // namespace corvel::test
