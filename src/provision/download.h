#pragma once

#include "platform/worker_thread.h"

#include <atomic>
#include <memory>
#include <QString>
#include <QtGlobal>
#include <string>

namespace corvel {

enum DownloadState : int {
    Running = -1,
    Succeeded = -2,
    Failed = -3,
};

// One file download. The GUI thread creates and releases it and reads `state` and `bytes`;
// everything else belongs to the worker thread until `state` leaves Running. The worker stores
// the end state last, with release ordering, after the file has been closed and renamed or
// deleted, so a reader that acquires an end state finds the file complete or gone.
struct DownloadTransfer {
    QString url;
    QString targetPath;
    std::string urlBytes;
    std::string targetBytes;
    std::string partBytes;
    std::atomic<int> state{Running};
    std::atomic<qint64> bytes{0};
    // Declared last so it is joined before the fields above go away.
    platform::WorkerThread worker;
};

inline constexpr const char* kUserAgent = "Mozilla/5.0 Gecko/41.0 Firefox/41.0";
// The stack size of each transfer's worker thread.
std::size_t downloadStackBytes();

// The header lines of a HEAD request, as received, redirect blocks first; "" on any error.
// Blocks the calling thread.
QString fetchHeaderText(const QString& url);
// The first "Content-Length:" value in the header text, 0 when none is found.
qint64 contentLengthFromHeaders(const QString& headerText);
qint64 probeContentLength(const QString& url);

// Null when url or path is empty or the worker thread cannot be made.
std::unique_ptr<DownloadTransfer> startDownload(const QString& url, const QString& targetPath);
// The byte count while the transfer runs, its end state (-2 or -3) once it has ended.
qint64 downloadProgress(const DownloadTransfer& transfer);
// Releases an ended transfer.
void finishDownload(std::unique_ptr<DownloadTransfer>& transfer);

} // namespace corvel
