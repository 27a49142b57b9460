#include "download.h"

#include <cstdio>
#include <curl/curl.h>
#include <limits>
#include <QStringList>

namespace corvel {

namespace {

// The worker's stack. A TLS handshake with certificate checks (OpenSSL, run by the HTTPS tests
// under AddressSanitizer) fits in it.
constexpr std::size_t kStackBytes = 64 * 1024;
constexpr long kConnectTimeoutMs = 30000;
constexpr long kReceiveBufferBytes = 256 * 1024;

void applyCommonOptions(CURL* curl, const std::string& url) {
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
}

size_t appendHeader(char* data, size_t size, size_t count, void* text) {
    static_cast<std::string*>(text)->append(data, size * count);
    return size * count;
}

struct BodySink {
    std::FILE* file;
    std::atomic<qint64>* bytes;
};

// A short write hands curl a smaller count, which makes it stop with a write error.
size_t writeBody(char* data, size_t size, size_t count, void* context) {
    auto* sink = static_cast<BodySink*>(context);
    const size_t written = std::fwrite(data, 1, size * count, sink->file);
    sink->bytes->fetch_add(static_cast<qint64>(written), std::memory_order_relaxed);
    return written;
}

bool runTransfer(const std::string& url, std::FILE* file, std::atomic<qint64>& bytes) {
    CURL* curl = curl_easy_init();
    if (curl == nullptr)
        return false;
    BodySink sink{file, &bytes};
    applyCommonOptions(curl, url);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 0L);
    // An error page is never stored as the file it stands in for.
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, kReceiveBufferBytes);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &writeBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    return code == CURLE_OK;
}

// Runs on the worker thread. The body goes to a name beside the target and is renamed onto it
// only when complete, so an interrupted transfer never leaves a truncated file under the name
// the next check looks for; a failure removes the target name as well.
void downloadBody(DownloadTransfer* transfer) {
    bool ok = false;
    if (std::FILE* file = std::fopen(transfer->partBytes.c_str(), "wb")) {
        ok = runTransfer(transfer->urlBytes, file, transfer->bytes);
        ok = std::fclose(file) == 0 && ok;
        ok = ok && std::rename(transfer->partBytes.c_str(), transfer->targetBytes.c_str()) == 0;
        if (!ok) {
            std::remove(transfer->partBytes.c_str());
            std::remove(transfer->targetBytes.c_str());
        }
    }
    transfer->state.store(ok ? Succeeded : Failed, std::memory_order_release);
}

} // namespace

std::size_t downloadStackBytes() {
    return kStackBytes;
}

QString fetchHeaderText(const QString& url) {
    CURL* curl = curl_easy_init();
    if (curl == nullptr)
        return {};
    std::string text;
    const std::string address = url.toLocal8Bit().toStdString();
    applyCommonOptions(curl, address);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &appendHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &text);
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    if (code != CURLE_OK)
        return {};
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

// Field by field at line feeds: the first field naming the length decides, even when it
// belongs to a redirect; the value is the second blank-separated word, read as a decimal.
qint64 contentLengthFromHeaders(const QString& headerText) {
    const QStringList fields = headerText.split(u'\n');
    for (const QString& field : fields) {
        if (field.contains(QStringLiteral("Content-Length:"))) {
            const QString word = field.section(u' ', 1, 1);
            qsizetype i = 0;
            while (i < word.size() && (word[i] == u' ' || word[i] == u'\t'))
                ++i;
            qint64 value = 0;
            for (; i < word.size() && word[i].isDigit() && word[i].unicode() < 128; ++i) {
                if (value > (std::numeric_limits<qint64>::max() - 9) / 10)
                    break;
                value = value * 10 + (word[i].unicode() - u'0');
            }
            return value;
        }
        if (field.isEmpty())
            return 0;
    }
    return 0;
}

qint64 probeContentLength(const QString& url) {
    return contentLengthFromHeaders(fetchHeaderText(url));
}

std::unique_ptr<DownloadTransfer> startDownload(const QString& url, const QString& targetPath) {
    if (url.isEmpty() || targetPath.isEmpty())
        return nullptr;
    auto transfer = std::make_unique<DownloadTransfer>();
    transfer->url = url;
    transfer->targetPath = targetPath;
    transfer->urlBytes = url.toLocal8Bit().toStdString();
    transfer->targetBytes = targetPath.toLocal8Bit().toStdString();
    transfer->partBytes = transfer->targetBytes + ".part";
    DownloadTransfer* raw = transfer.get();
    if (!transfer->worker.start([raw] { downloadBody(raw); }, downloadStackBytes()))
        return nullptr;
    return transfer;
}

qint64 downloadProgress(const DownloadTransfer& transfer) {
    const int state = transfer.state.load(std::memory_order_acquire);
    if (state != Running)
        return state;
    return transfer.bytes.load(std::memory_order_relaxed);
}

void finishDownload(std::unique_ptr<DownloadTransfer>& transfer) {
    transfer.reset();
}

} // namespace corvel
