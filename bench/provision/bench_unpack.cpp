// unpack_vs_unzip: a zip holding a 2 GB, mostly empty FAT image, unpacked through the program's
// unpack path (the composed Expand-Archive line run by the tool runner and its stand-in) against
// `unzip -o` of the same archive in the same run. unpack_disk_share: the percentage of the
// image's size that the unpacked copy takes on disk.
#include "bench_support.h"
#include "core/app_state.h"
#include "imagetool/tool_runner.h"

#include <cstdio>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>

using namespace corvel;

namespace {

constexpr int kImageKib = 2 * 1024 * 1024;

double diskShare(const QString& path) {
    struct stat info {};
    if (stat(path.toLocal8Bit().constData(), &info) != 0 || info.st_size == 0)
        return 100.0;
    return 100.0 * static_cast<double>(info.st_blocks) * 512.0 / static_cast<double>(info.st_size);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    const QString root = work.path() + QDir::separator();
    const QString image = root + QStringLiteral("cspect-next-2gb.img");
    if (!bench::runQuietly(QStringLiteral("mkfs.fat"),
                           {QStringLiteral("-F"), QStringLiteral("32"), QStringLiteral("-C"), image,
                            QString::number(kImageKib)}) ||
        !bench::runQuietly(QStringLiteral("zip"),
                           {QStringLiteral("-q"), QStringLiteral("-j"),
                            root + QStringLiteral("cspect-next-2gb.zip"), image})) {
        std::fprintf(stderr, "bench_unpack: could not build the archive\n");
        return 1;
    }
    QFile::remove(image);
    QDir::setCurrent(root);

    const QString unzipFolder = root + QStringLiteral("unzipped");
    QDir().mkpath(unzipFolder);
    const double unzip = bench::bestSeconds(2, [&] {
        return bench::runQuietly(QStringLiteral("unzip"),
                                 {QStringLiteral("-o"), QStringLiteral("-q"),
                                  root + QStringLiteral("cspect-next-2gb.zip"),
                                  QStringLiteral("-d"), unzipFolder});
    });

    AppState state;
    state.startDir = root;
    const QString arguments =
        QStringLiteral("-nologo -noprofile -command \"Expand-Archive -Path ") +
        QStringLiteral("cspect-next-2gb.zip -DestinationPath ") + root +
        QStringLiteral("/img/ -Force\"");
    const QString unpacked = root + QStringLiteral("img/cspect-next-2gb.img");
    const double ours = bench::bestSeconds(2, [&] {
        runTool(state, QStringLiteral("powershell.exe"), arguments, Quiet, QString());
        return QFileInfo(unpacked).size() == static_cast<qint64>(kImageKib) * 1024;
    });
    if (unzip <= 0 || ours <= 0) {
        std::fprintf(stderr, "bench_unpack: an unpack failed\n");
        return 1;
    }
    bench::printBench("unpack_vs_unzip", ours / unzip, "ratio");
    bench::printBench("unpack_disk_share", diskShare(unpacked), "percent");
    return 0;
}
