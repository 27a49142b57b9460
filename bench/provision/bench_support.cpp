#include "bench_support.h"

#include <cstdio>
#include <limits>
#include <QElapsedTimer>
#include <QProcess>

namespace corvel::bench {

double bestSeconds(int rounds, const std::function<bool()>& run) {
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!run())
            return -1.0;
        best = std::min(best, static_cast<double>(timer.nsecsElapsed()) / 1e9);
    }
    return best;
}

bool runQuietly(const QString& program, const QStringList& arguments, const QString& folder) {
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

void printBench(const char* name, double value, const char* unit) {
    std::printf("BENCH %s %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

} // namespace corvel::bench
