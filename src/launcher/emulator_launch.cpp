#include "emulator_launch.h"

#include "imagetool/tool_runner.h"
#include "platform/files.h"
#include "platform/program_resolution.h"
#include "provision/prerequisites.h"

#include <QDir>

namespace corvel {

namespace {

const QString LaunchingPrefix = QStringLiteral("Launching CSpect ");

// The emulator's options for each two-entry combo belong to its second entry, whatever the
// entry's caption says.
QString secondEntryPiece(const MainWindowPort& window, ControlId combo, const QString& piece) {
    return window.comboIndex(combo) == 1 ? piece : QString();
}

// The "Launching CSpect " line is always the first trace of a launch; when the emulator cannot
// be started at all, one more line says why, since nothing else would.
bool emulatorStartable(AppState& state) {
    const auto problem = platform::programStartProblem(state.cspectExe);
    if (problem)
        state.window->logLine(QStringLiteral("CSpect could not be started: ") + *problem);
    return !problem;
}

void launchEmulator(AppState& state, const QString& arguments, int mode) {
    state.window->logLine(LaunchingPrefix + arguments);
    if (!emulatorStartable(state))
        return;
    const int result = runTool(state, state.cspectExe, arguments, mode, QString());
    if (mode == Logged && result == ToolNotStarted)
        state.window->logLine(QStringLiteral("CSpect could not be started: ") + state.cspectExe +
                              QStringLiteral(" did not run"));
}

} // namespace

QString buildEmulatorOptions(const AppState& state) {
    const MainWindowPort& w = *state.window;
    QString options =
        QStringLiteral("-w") + QString::number(w.comboIndex(ControlId::ScreenSizeCombo) + 1) + u' ';
    options += secondEntryPiece(w, ControlId::JoystickCombo, QStringLiteral(" -joy"));
    options += secondEntryPiece(w, ControlId::SoundCombo, QStringLiteral(" -sound"));
    options += secondEntryPiece(w, ControlId::VsyncCombo, QStringLiteral(" -vsync"));
    options += secondEntryPiece(w, ControlId::HertzCombo, QStringLiteral(" -60"));
    if (state.escSetting == QStringLiteral("1"))
        options += QStringLiteral(" -esc");
    return options;
}

void launchNexFile(AppState& state, const QString& folder, const QString& name) {
    ensurePrerequisites(state);
    if (state.prerequisitesMissing)
        return;
    const QString arguments = buildEmulatorOptions(state) + QStringLiteral(" -brk -zxnext -mmc=.") +
                              QDir::separator() + u'"' + folder + name + u'"';
    launchEmulator(state, arguments, Logged);
}

// The desktop's opener takes the place of "cmd.exe /c" + the quoted name here, so that the
// name reaches it as one argument whatever characters it holds and no shell ever reads it.
void openWithAssociation(AppState& state, const QString& folder, const QString& name) {
    (void)state;
    platform::openWithAssociatedProgram(folder, name);
}

void launchNextZXOS(AppState& state) {
    ensurePrerequisites(state);
    if (state.prerequisitesMissing)
        return;
    const QString arguments = buildEmulatorOptions(state) +
                              QStringLiteral(" -r -basickeys -tv -zxnext -nextrom -brk -mmc=") +
                              state.imagePath;
    launchEmulator(state, arguments, Detached);
}

// The custom command may change folders; the program's own working directory is put back so
// later relative paths (the settings file) still resolve in the start folder.
void launchCustom(AppState& state) {
    const QString workingDir = platform::workingDirectory();
    const QString imagePath = QDir::fromNativeSeparators(state.imagePath);
    runTool(state, QStringLiteral("cmd.exe"),
            QStringLiteral("/c ") + state.customCommand + u' ' + imagePath, Logged, QString());
    platform::setWorkingDirectory(workingDir);
}

} // namespace corvel
