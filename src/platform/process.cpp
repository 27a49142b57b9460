#include "process.h"

#include "event_queue.h"
#include "program_resolution.h"
#include "text_editor.h"

#include <QProcess>

namespace corvel::platform {

QStringList splitArgumentLine(const QString& line) {
    QStringList args;
    QString current;
    bool inQuotes = false;
    bool haveArg = false;
    for (const QChar c : line) {
        if (c == u'"') {
            inQuotes = !inQuotes;
            haveArg = true;
        } else if (c == u' ' && !inQuotes) {
            if (haveArg)
                args << current;
            current.clear();
            haveArg = false;
        } else {
            current += c;
            haveArg = true;
        }
    }
    if (haveArg)
        args << current;
    return args;
}

CapturedProcess::CapturedProcess() : m_process(std::make_unique<QProcess>()) {}

CapturedProcess::~CapturedProcess() {
    if (m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(1000);
    }
}

bool CapturedProcess::start(const QString& program, const QString& argumentLine,
                            const QString& workingFolder) {
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->setStandardInputFile(QProcess::nullDevice());
    m_process->setStandardErrorFile(QProcess::nullDevice());
    if (!workingFolder.isEmpty())
        m_process->setWorkingDirectory(workingFolder);
    const ResolvedProgram target = resolveProgram(program, argumentLine, workingFolder);
    m_process->start(target.program, target.arguments, QIODevice::ReadOnly);
    return m_process->waitForStarted(-1);
}

bool CapturedProcess::running() const {
    return m_process->state() != QProcess::NotRunning;
}

bool CapturedProcess::active() const {
    return running() || m_process->bytesAvailable() > 0;
}

qint64 CapturedProcess::bytesWaiting() const {
    return m_process->bytesAvailable();
}

QString CapturedProcess::readOutputLine(UiEventQueue& queue) {
    while (!m_process->canReadLine() && running())
        queue.sleepUntilWoken();
    QByteArray bytes = m_process->canReadLine() ? m_process->readLine() : m_process->readAll();
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    bytes.replace("\r", "");
    return QString::fromUtf8(bytes);
}

int CapturedProcess::exitCode() const {
    return m_process->exitCode();
}

bool startDetached(const QString& program, const QString& argumentLine,
                   const QString& workingFolder) {
    QProcess process;
    const ResolvedProgram target = resolveProgram(program, argumentLine, workingFolder);
    process.setProgram(target.program);
    process.setArguments(target.arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    return process.startDetached();
}

bool runAndWait(const QString& program, const QString& argumentLine, const QString& workingFolder) {
    QProcess process;
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    const ResolvedProgram target = resolveProgram(program, argumentLine, workingFolder);
    if (target.editFile) {
        runTextEditor(*target.editFile);
        return true;
    }
    process.start(target.program, target.arguments);
    if (!process.waitForStarted(-1))
        return false;
    process.waitForFinished(-1);
    return true;
}

} // namespace corvel::platform
