// download_vs_curl: one 256 MB file from the loopback server, our transfer (from startDownload
// until the end state is stored) against `curl -s -o` of the same file in the same run.
// download_rss_growth: how much the process's peak memory grew during our transfers.
#include "bench_support.h"
#include "loopback_server.h"
#include "provision/download.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <thread>

using namespace corvel;

namespace {

constexpr qint64 kFileBytes = 256LL * 1024 * 1024;

// Peak resident memory so far, in kB.
long peakResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

bool ourDownload(const QString& url, const QString& path) {
    auto transfer = startDownload(url, path);
    if (!transfer)
        return false;
    while (downloadProgress(*transfer) >= 0)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    return downloadProgress(*transfer) == Succeeded && QFile(path).size() == kFileBytes;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    test::LoopbackServer server;
    if (!server.running()) {
        std::fprintf(stderr, "bench_download: the loopback server did not start\n");
        return 1;
    }
    QFile big(server.root() + QStringLiteral("big.bin"));
    if (!big.open(QIODevice::WriteOnly))
        return 1;
    const QByteArray block(1 << 20, 'z');
    for (qint64 written = 0; written < kFileBytes; written += block.size())
        big.write(block);
    big.close();

    QTemporaryDir out;
    const QString url = server.url(QStringLiteral("big.bin"));
    const QString curlPath = out.filePath(QStringLiteral("curl.bin"));
    const QString ourPath = out.filePath(QStringLiteral("ours.bin"));
    // Rounds alternate between the two so that a busy moment on the machine hits both alike;
    // the best round of each counts.
    double curl = 1e9;
    double ours = 1e9;
    long growth = 0;
    for (int round = 0; round < 5; ++round) {
        curl = std::min(curl, bench::bestSeconds(1, [&] {
                            return bench::runQuietly(
                                QStringLiteral("curl"),
                                {QStringLiteral("-s"), QStringLiteral("-o"), curlPath, url});
                        }));
        const long before = peakResidentKb();
        ours = std::min(ours, bench::bestSeconds(1, [&] { return ourDownload(url, ourPath); }));
        growth = std::max(growth, peakResidentKb() - before);
    }
    if (curl <= 0 || ours <= 0) {
        std::fprintf(stderr, "bench_download: a transfer failed\n");
        return 1;
    }
    bench::printBench("download_vs_curl", ours / curl, "ratio");
    bench::printBench("download_rss_growth", static_cast<double>(growth) / 1024.0, "MB");
    return 0;
}
