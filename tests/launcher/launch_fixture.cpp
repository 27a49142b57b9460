#include "launch_fixture.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

namespace corvel::test {

void LaunchFixture::SetUp() {
    AppFixture::SetUp();
    writeRecorder(QStringLiteral("cspect/cspect.exe"), QString::fromLatin1(EmulatorRecord));
    writeFile(QStringLiteral("hdfmonkey/hdfmonkey"), "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(startFolder() + QStringLiteral("hdfmonkey/hdfmonkey"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeFile(QStringLiteral("img/test.img"), QByteArray(512, '\0'));
    start();
    dispatchPending();
    m_state.imagePath = u'"' + imageFile() + u'"';
}

void LaunchFixture::TearDown() {
    qunsetenv("CORVEL_OPENER");
    AppFixture::TearDown();
}

QString LaunchFixture::writeRecorder(const QString& relative, const QString& record) const {
    const QString recordPath = startFolder() + record;
    const QByteArray script = "#!/bin/sh\n"
                              "rec='" +
                              recordPath.toUtf8() +
                              "'\n"
                              "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$rec.part\"\n"
                              "mv \"$rec.part\" \"$rec\"\n"
                              "echo \"stand-in started\"\n"
                              "echo \"stand-in done\"\n";
    const QString path = writeFile(relative, script);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QStringList LaunchFixture::recordedArgs(const QString& record) const {
    const QString path = startFolder() + record;
    if (!QTest::qWaitFor([&] { return QFile::exists(path); }, 10000))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList args = QString::fromUtf8(file.readAll()).split(u'\n');
    args.removeLast(); // after the last line end
    return args;
}

void LaunchFixture::removeRecord(const QString& record) const {
    QFile::remove(startFolder() + record);
}

void LaunchFixture::useRecordingOpener() {
    const QString opener =
        writeRecorder(QStringLiteral("opener.sh"), QString::fromLatin1(OpenerRecord));
    qputenv("CORVEL_OPENER", opener.toUtf8());
}

QStringList LaunchFixture::launchLines() const {
    QStringList lines;
    for (const QString& line : logLines()) {
        if (line.startsWith(QStringLiteral("Launching CSpect ")))
            lines << line;
    }
    return lines;
}

void LaunchFixture::clickButton(ControlId id) {
    static_cast<QPushButton*>(window().control(id))->click();
    dispatchPending();
}

} // namespace corvel::test
