// What the program adds to an emulator start: the time from a click on "Launch" until the
// emulator stand-in has written its first line, against the time from starting the same
// stand-in directly, with the same argv, until it has done the same. Both are measured in the
// same run, alternately, and the medians compared.
//
// The stand-in writes its first line into a file of a watched folder; both measurements wait
// for that file the same way (a folder-change notification in the event loop), so the waiting
// cost cancels out of the ratio.

#include "core/startup.h"
#include "launcher/emulator_launch.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/process.h"
#include "ui/main_window.h"
#include "ui/operations.h"

#include <algorithm>
#include <cstdio>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <vector>

namespace {

constexpr int Rounds = 25;

void writeExecutable(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Waits in the event loop until the first-line file exists; returns false after a time-out.
bool waitForFirstLine(QFileSystemWatcher& watcher, const QString& path) {
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, [&] {
        if (QFile::exists(path))
            loop.quit();
    });
    limit.start(10000);
    if (!QFile::exists(path))
        loop.exec();
    QObject::disconnect(&watcher, nullptr, &loop, nullptr);
    return QFile::exists(path);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    corvel::platform::Platform platform;
    corvel::platform::dialogs().setScripted(true);

    QTemporaryDir dir;
    const QString start = dir.path() + u'/';
    const QString watched = start + QStringLiteral("lines/");
    const QString firstLine = watched + QStringLiteral("first");
    QDir().mkpath(watched);
    writeExecutable(start + QStringLiteral("cspect/cspect.exe"),
                    "#!/bin/sh\necho \"$@\" > '" + firstLine.toUtf8() + "'\necho done\n");
    writeExecutable(start + QStringLiteral("hdfmonkey/hdfmonkey"), "#!/bin/sh\nexit 0\n");
    writeExecutable(start + QStringLiteral("img/test.img"), QByteArray(512, '\0'));
    QDir::setCurrent(dir.path());

    corvel::AppState state;
    state.ops = corvel::standardOperations();
    corvel::startUp(state);
    state.imagePath = u'"' + start + QStringLiteral("img/test.img\"");
    QApplication::processEvents();
    while (!state.events.empty())
        state.ops.handleEvent(state, state.events.waitForEvent());
    auto* launch = static_cast<QPushButton*>(static_cast<corvel::MainWindow*>(state.window.get())
                                                 ->control(corvel::ControlId::LaunchButton));
    QFileSystemWatcher watcher({watched});

    const QStringList standInArgs = corvel::platform::splitArgumentLine(
        corvel::buildEmulatorOptions(state) +
        QStringLiteral(" -r -basickeys -tv -zxnext -nextrom -brk -mmc=") + state.imagePath);
    std::vector<double> viaLaunch, direct;
    QElapsedTimer timer;
    for (int round = 0; round < Rounds; ++round) {
        QFile::remove(firstLine);
        timer.start();
        launch->click();
        state.ops.handleEvent(state, state.events.waitForEvent());
        if (!waitForFirstLine(watcher, firstLine))
            return 1;
        viaLaunch.push_back(double(timer.nsecsElapsed()));

        QFile::remove(firstLine);
        timer.start();
        QProcess bare;
        bare.setProgram(state.cspectExe);
        bare.setArguments(standInArgs);
        bare.setStandardInputFile(QProcess::nullDevice());
        bare.setStandardOutputFile(QProcess::nullDevice());
        bare.startDetached();
        if (!waitForFirstLine(watcher, firstLine))
            return 1;
        direct.push_back(double(timer.nsecsElapsed()));
    }
    std::printf("BENCH launch_overhead %.3f ratio\n", median(viaLaunch) / median(direct));
    std::fflush(stdout);
    state.window.reset();
    return 0;
}
