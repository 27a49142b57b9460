// Start-up cost of the program against a minimal Qt program that opens one empty window of
// the same size, both built the same way and measured in the same run; and the memory the
// program holds while idling in its main loop with an empty start folder.
//
// The binary runs itself as a child in one of two roles and times each child from its start
// until it prints that it has reached its idle point.

#include "core/startup.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "ui/operations.h"

#include <algorithm>
#include <cstdio>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>
#include <unistd.h>
#include <vector>

namespace {

void reportIdle() {
    std::fputs("IDLE\n", stdout);
    std::fflush(stdout);
}

long peakRssKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

int runProgramChild(bool measureIdleMemory) {
    corvel::platform::Platform platform;
    corvel::platform::dialogs().setScripted(true); // the about box is answered at once
    corvel::AppState state;
    state.ops = corvel::standardOperations();
    corvel::startUp(state);
    QApplication::processEvents();
    while (!state.events.empty())
        state.ops.handleEvent(state, state.events.waitForEvent());
    if (!measureIdleMemory) {
        reportIdle();
        _exit(0);
    }
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    std::printf("RSS %ld\n", peakRssKb());
    std::fflush(stdout);
    _exit(0);
}

int runMinimalChild(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(970, 660);
    window.show();
    QApplication::processEvents();
    reportIdle();
    _exit(0);
}

double timeChild(const QString& role, const QString& folder) {
    QProcess child;
    child.setWorkingDirectory(folder);
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), {role});
    while (child.waitForReadyRead(10000)) {
        if (child.readAll().contains("IDLE"))
            break;
    }
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    child.waitForFinished(10000);
    return ms;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const QByteArray role = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (role == "--program")
        return runProgramChild(false);
    if (role == "--program-idle")
        return runProgramChild(true);
    if (role == "--minimal")
        return runMinimalChild(argc, argv);

    QCoreApplication app(argc, argv);
    QTemporaryDir empty;
    std::vector<double> program;
    std::vector<double> minimal;
    timeChild(QStringLiteral("--program"), empty.path()); // warm the caches for both
    timeChild(QStringLiteral("--minimal"), empty.path());
    for (int round = 0; round < 9; ++round) {
        program.push_back(timeChild(QStringLiteral("--program"), empty.path()));
        minimal.push_back(timeChild(QStringLiteral("--minimal"), empty.path()));
    }
    std::printf("BENCH startup_vs_minimal_qt %.2f ratio\n", median(program) / median(minimal));
    std::printf("# startup median: program %.1f ms, minimal Qt %.1f ms\n", median(program),
                median(minimal));

    QProcess idle;
    idle.setWorkingDirectory(empty.path());
    idle.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--program-idle")});
    idle.waitForFinished(30000);
    const QByteArray out = idle.readAllStandardOutput();
    const qsizetype at = out.indexOf("RSS ");
    const long kb = at >= 0 ? out.mid(at + 4).trimmed().toLong() : 0;
    std::printf("BENCH idle_rss_mb %.1f MB\n", static_cast<double>(kb) / 1024.0);
    return 0;
}
