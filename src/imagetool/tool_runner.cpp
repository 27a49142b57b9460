#include "tool_runner.h"

#include "platform/process.h"

namespace corvel {

namespace {

const QString UpRowName = QStringLiteral("[Up Directory] ..");

// A listing shows the up row first whenever it is below the root; the browser colours it.
void prepareImageList(AppState& state) {
    state.window->clearImageRows();
    if (!state.imageDir.isEmpty())
        state.window->appendImageRow({QString(), UpRowName, QString(), QString()});
}

void takeLine(AppState& state, int mode, const QString& line) {
    if (mode == Listing)
        state.entries.push_back(parseListingLine(line));
    else if (mode == Logged)
        state.window->logLine(line);
}

// The GUI thread blocks here for the whole run. It never spins: with fewer than two bytes to
// read it sleeps in the event loop until the child writes or ends. A single byte left after the
// end is read as the last line, so the loop always finishes. Window events are handled on every
// pass and the UiEvents they produce are dropped, so the dispatcher is never re-entered.
int readUntilEnd(AppState& state, platform::CapturedProcess& process, int mode) {
    while (process.active()) {
        if (process.bytesWaiting() > 1 || !process.running())
            takeLine(state, mode, process.readOutputLine(state.events));
        else
            state.events.sleepUntilWoken();
        state.events.pumpOneWindowEvent();
    }
    return process.exitCode();
}

int runCaptured(AppState& state, const QString& program, const QString& arguments, int mode,
                const QString& workingFolder) {
    platform::CapturedProcess process;
    if (!process.start(program, arguments, workingFolder))
        return ToolNotStarted;
    return readUntilEnd(state, process, mode);
}

} // namespace

int runTool(AppState& state, const QString& program, const QString& arguments, int mode,
            const QString& workingFolder) {
    switch (mode) {
    case Listing:
        prepareImageList(state);
        return runCaptured(state, program, arguments, mode, workingFolder);
    case Quiet:
    case Logged:
        return runCaptured(state, program, arguments, mode, workingFolder);
    case Detached:
        platform::startDetached(program, arguments, workingFolder);
        return ToolNotStarted;
    case WaitVisible:
        platform::runAndWait(program, arguments, workingFolder);
        return 0;
    default:
        return ToolNotStarted;
    }
}

DirEntry parseListingLine(const QString& line) {
    const QStringList fields = line.split(u'\t');
    const QString second = fields.size() > 1 ? fields[1] : QString();
    if (line.startsWith(QStringLiteral("[DIR]")))
        return {second, QString(), QStringLiteral("DIR")};
    return {second, fields[0], QStringLiteral("FILE")};
}

} // namespace corvel
