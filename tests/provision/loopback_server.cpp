#include "loopback_server.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace corvel::test {

bool runProgram(const QString& program, const QStringList& arguments, const QString& folder) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

LoopbackServer::LoopbackServer() {
    const QString cert = m_keys.filePath(QStringLiteral("cert.pem"));
    const QString key = m_keys.filePath(QStringLiteral("key.pem"));
    const bool keysMade =
        runProgram(QStringLiteral("openssl"),
                   {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                    QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-days"),
                    QStringLiteral("1"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                    QStringLiteral("-keyout"), key, QStringLiteral("-out"), cert});
    QStringList arguments = {QStringLiteral(CORVEL_HTTP_SERVER_SCRIPT), QStringLiteral("--root"),
                             m_root.path()};
    if (keysMade)
        arguments << QStringLiteral("--cert") << cert << QStringLiteral("--key") << key;
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(QStringLiteral("python3"), arguments);
    if (!m_process.waitForStarted(10000))
        return;
    while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
    }
    const QStringList words = QString::fromUtf8(m_process.readLine()).trimmed().split(u' ');
    if (words.size() == 3 && words[0] == QStringLiteral("PORTS")) {
        m_httpPort = words[1].toInt();
        m_httpsPort = words[2].toInt();
    }
}

LoopbackServer::~LoopbackServer() {
    m_process.kill();
    m_process.waitForFinished(5000);
}

QString LoopbackServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_httpPort) + path;
}

QString LoopbackServer::httpsUrl(const QString& path) const {
    return QStringLiteral("https://127.0.0.1:%1/").arg(m_httpsPort) + path;
}

QString LoopbackServer::serve(const QString& name, const QByteArray& bytes) const {
    const QString path = root() + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

bool makeZip(const QString& zipPath, const QList<std::pair<QString, QByteArray>>& files) {
    QTemporaryDir staging;
    QStringList arguments = {QStringLiteral("-q"), QStringLiteral("-j"), zipPath};
    for (const auto& [name, bytes] : files) {
        QFile file(staging.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
        arguments << file.fileName();
    }
    QFile::remove(zipPath);
    QDir().mkpath(QFileInfo(zipPath).absolutePath());
    return runProgram(QStringLiteral("zip"), arguments);
}

QByteArray makeFatImage(int kibibytes) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("fat.img"));
    if (!runProgram(QStringLiteral("mkfs.fat"),
                    {QStringLiteral("-C"), path, QString::number(kibibytes)}))
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace corvel::test
