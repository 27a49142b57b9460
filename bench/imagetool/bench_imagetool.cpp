// Listing cost of the image browser against the bare tool plus the bare list appends, its
// growth from 500 to 5,000 entries, and the processor time the tool runner uses while a silent
// child runs.
#include "imagetool/image_browser.h"
#include "imagetool/tool_runner.h"
#include "ui/operations.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <thread>
#include <vector>

using namespace corvel;

namespace {

const QString Tool = QStringLiteral(CORVEL_IMAGETOOL_PATH);
constexpr int Rounds = 7;

bool runTool(const QStringList& args) {
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(Tool, args);
    return process.waitForFinished(-1) && process.exitCode() == 0;
}

// A folder of count small files, put into the image in one run.
bool fillFolder(const QString& image, const QString& scratch, const QString& name, int count) {
    const QString folder = scratch + u'/' + name;
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        QFile file(folder + QStringLiteral("/F%1.BIN").arg(i, 5, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write("x");
    }
    return runTool({QStringLiteral("put"), image, folder, u'/' + name});
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double timeRefresh(AppState& state, const QString& dir) {
    std::vector<double> times;
    for (int round = 0; round < Rounds; ++round) {
        state.imageDir = dir;
        QElapsedTimer timer;
        timer.start();
        refreshImageListing(state);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

// The floor: the bare tool's ls of the folder, read whole, and the same rows appended to an
// emptied list with nothing else.
double timeFloor(AppState& state, const QString& image, const QString& dir) {
    std::vector<double> times;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        QProcess process;
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(Tool, {QStringLiteral("ls"), image, dir});
        process.waitForFinished(-1);
        const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
        state.window->clearImageRows();
        state.window->appendImageRow(
            {QString(), QStringLiteral("[Up Directory] .."), QString(), QString()});
        for (const QByteArray& line : lines) {
            if (line.isEmpty())
                continue;
            const QString text = QString::fromUtf8(line);
            state.window->appendImageRow({QString(), text.section(u'\t', 1, 1),
                                          QStringLiteral("bin"), text.section(u'\t', 0, 0)});
        }
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

double idleCpuPercent(AppState& state, const QString& self) {
    const std::clock_t cpuStart = std::clock();
    QElapsedTimer wall;
    wall.start();
    corvel::runTool(state, self, QStringLiteral("--sleep 5"), Logged, QString());
    const double wallSeconds = static_cast<double>(wall.nsecsElapsed()) / 1e9;
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    return 100.0 * cpuSeconds / wallSeconds;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && QByteArray(argv[1]) == "--sleep") {
        // The silent child of the idle measurement.
        std::this_thread::sleep_for(std::chrono::seconds(QByteArray(argv[2]).toInt()));
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir scratch;
    const QString image = scratch.path() + QStringLiteral("/bench.img");
    if (!runTool({QStringLiteral("create"), image, QStringLiteral("64M")}) ||
        !fillFolder(image, scratch.path(), QStringLiteral("S500"), 500) ||
        !fillFolder(image, scratch.path(), QStringLiteral("S5000"), 5000)) {
        std::fprintf(stderr, "bench_imagetool: could not prepare the image\n");
        return 1;
    }
    AppState state;
    state.ops = standardOperations();
    state.window = openMainWindow(state, 0, 0, 970, 660);
    state.hdfmonkeyExe = Tool;
    state.imagePath = u'"' + image + u'"';

    timeRefresh(state, QStringLiteral("/S5000")); // warm the page cache and the widgets
    const double refresh5000 = timeRefresh(state, QStringLiteral("/S5000"));
    const double floor5000 = timeFloor(state, image, QStringLiteral("/S5000"));
    const double refresh500 = timeRefresh(state, QStringLiteral("/S500"));
    std::printf("BENCH listing_overhead_5000 %.3f ratio\n", refresh5000 / floor5000);
    std::printf("BENCH listing_scaling %.3f ratio\n", refresh5000 / refresh500);
    std::fprintf(stderr, "refresh 5000: %.1f ms, floor 5000: %.1f ms, refresh 500: %.1f ms\n",
                 refresh5000, floor5000, refresh500);
    std::printf("BENCH idle_cpu_during_run %.2f percent\n",
                idleCpuPercent(state, QCoreApplication::applicationFilePath()));
    state.window.reset();
    return 0;
}
