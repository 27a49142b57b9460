#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QProcess;

namespace corvel::platform {

class UiEventQueue;

// Turns an argument line into an argv: blanks separate arguments, a double-quoted run is part
// of one argument with its quotes removed, a backslash is an ordinary character. No shell.
QStringList splitArgumentLine(const QString& line);

// A child started hidden with its standard output captured (standard error is not captured).
// Lives on the GUI thread; its output and exit arrive through Qt's event loop, so waiting for
// them is a sleep in that loop rather than a poll.
class CapturedProcess final {
public:
    CapturedProcess();
    ~CapturedProcess();
    CapturedProcess(const CapturedProcess&) = delete;
    CapturedProcess& operator=(const CapturedProcess&) = delete;

    // Starts program with the argv of argumentLine in workingFolder ("" for the current one).
    bool start(const QString& program, const QString& argumentLine, const QString& workingFolder);
    // True while the child runs, and after its end while captured output is still unread.
    bool active() const;
    bool running() const;
    qint64 bytesWaiting() const;
    // Reads up to and including the next LF (or the end of the output), waiting in the event
    // loop for the rest of a partial line; CRs are dropped wherever they stand; UTF-8.
    QString readOutputLine(UiEventQueue& queue);
    int exitCode() const;

private:
    std::unique_ptr<QProcess> m_process;
};

// Starts a child hidden or shown, not captured, not waited for; its standard output goes
// nowhere, so it can never stall on a full pipe.
bool startDetached(const QString& program, const QString& argumentLine,
                   const QString& workingFolder);

// Starts a child and waits for its end without handling any window event meanwhile.
bool runAndWait(const QString& program, const QString& argumentLine,
                const QString& workingFolder);

} // namespace corvel::platform
