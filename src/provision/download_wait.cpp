#include "download_wait.h"

#include <QTimer>

namespace corvel {

namespace {

constexpr int kPollMs = 50;

// Sleeps in the event loop until the timer fires; whatever else wakes it is handled and its
// UiEvents are dropped, as in every nested wait.
void sleepFor(AppState& state, int ms) {
    bool fired = false;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&fired] { fired = true; });
    timer.start(ms);
    while (!fired)
        state.events.sleepUntilWoken();
}

// With no announced length there is nothing to divide by: the bar shows a busy state (range
// 0..0) and the message the bytes received so far.
void showProgress(AppState& state, qint64 bytes, const DownloadDisplay& display) {
    MainWindowPort& window = *state.window;
    const qint64 length = display.expectedLength;
    window.setStatusProgress(1, bytes, FieldStyle::Raised, 0, length > 0 ? length : 0);
    if (length > 0) {
        const qint64 percent = bytes * display.percentFactor / length;
        window.setStatusText(2, QStringLiteral("Downloading...") + QString::number(percent) + u'%');
    } else {
        window.setStatusText(2, QStringLiteral("Downloading... ") + QString::number(bytes) +
                                    QStringLiteral(" bytes"));
    }
}

} // namespace

int waitForDownload(AppState& state, std::unique_ptr<DownloadTransfer>& transfer,
                    std::optional<DownloadDisplay> display) {
    const bool shown = display.has_value() && state.window != nullptr;
    if (shown)
        state.window->setCursor(platform::WindowCursor::Wait);
    int end = Failed;
    for (;;) {
        const qint64 progress = downloadProgress(*transfer);
        if (progress == Succeeded) {
            finishDownload(transfer);
            end = Succeeded;
            break;
        }
        if (progress == Failed)
            break;
        if (shown)
            showProgress(state, progress, *display);
        state.events.pumpOneWindowEvent();
        sleepFor(state, kPollMs);
    }
    if (shown) {
        state.window->setStatusProgress(1, 1, FieldStyle::Raised, 0, 1);
        state.window->setCursor(platform::WindowCursor::None);
    }
    return end;
}

} // namespace corvel
