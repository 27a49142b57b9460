#include "startup.h"

#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "settings.h"

namespace corvel {

QString greetingCreditLine(const QString& titleText) {
    return titleText + QStringLiteral(" - by the Corvel developers, 2022");
}

QString emulatorCreditLine() {
    return QStringLiteral("CSpect emulator by Mike Dailly - www.cspect.org");
}

QString imageToolCreditLine() {
    return QStringLiteral("HDF Monkey disk image tool by Matt Westcott");
}

QString aboutText() {
    return QStringLiteral("Corvel by the Corvel developers - December 2022\r\n"
                          "A front end for CSpect & HDFMonkey\r\n"
                          "Corvel can automatically download all\r\n"
                          "required files for launch NextZXOS.");
}

static void setDefaults(AppState& state) {
    state.cspectZip = QStringLiteral("CSpect2_15_01.zip");
    state.entries.clear();
    state.imagePath.clear();
    state.explorePath = platform::workingDirectory();
    state.startDir = state.explorePath;
    state.hdfmonkeyExe = state.explorePath + QStringLiteral("hdfmonkey/hdfmonkey");
    state.cspectExe = state.explorePath + QStringLiteral("cspect/cspect.exe");
    state.imageDir.clear();
    state.prerequisitesMissing = 0;
    state.customCommand.clear();
    state.escSetting = QStringLiteral("0");
    state.titleText = QStringLiteral("CORVEL - v1.4");
}

static void createFonts() {
    platform::createFont(0, QStringLiteral("Tahoma"), 10, false);
    platform::createFont(1, QStringLiteral("Segoe UI Semibold"), 14, false);
    platform::createFont(2, QStringLiteral("Segoe UI Semibold"), 10, false);
    platform::createFont(3, QStringLiteral("Segoe UI"), 10, true);
    platform::createFont(4, QStringLiteral("Segoe UI"), 12, false);
    platform::createFont(5, QStringLiteral("Segoe UI"), 10, false);
    platform::createFont(6, QStringLiteral("Segoe UI"), 9, true);
}

static void applyControlDefaults(AppState& state) {
    MainWindowPort& w = *state.window;
    w.setLaunchCustomVisible(false);
    w.setExplorerColumnWidth(0, 280);
    w.setExplorerColumnWidth(1, 60);
    w.setExplorerColumnWidth(3, 0);
    w.setImageListAcceptsDrops(true);
    w.setExplorerAcceptsDrops(true);
    w.setComboIndex(ControlId::ScreenSizeCombo, 1);
    w.setComboIndex(ControlId::SoundCombo, 0);
    w.setComboIndex(ControlId::VsyncCombo, 0);
    w.setComboIndex(ControlId::HertzCombo, 0);
    w.setComboIndex(ControlId::JoystickCombo, 0);
    w.setExplorerText(state.explorePath);
}

void startUp(AppState& state) {
    setDefaults(state);
    createFonts();
    state.window = state.ops.openMainWindow(state, 0, 0, 970, 660);
    platform::dialogs().setOwner(state.window->widget());
    applyControlDefaults(state);
    loadSettings(state);
    state.window->logLine(greetingCreditLine(state.titleText));
    state.window->logLine(emulatorCreditLine());
    state.window->logLine(imageToolCreditLine());
    state.choices.clear();
    platform::dialogs().messageBox(state.titleText, aboutText());
    state.window->buildPopupMenu(state.imagePath);
}

void runMainLoop(AppState& state) {
    bool keepRunning = true;
    while (keepRunning)
        keepRunning = state.ops.handleEvent(state, state.events.waitForEvent());
}

int shutDown(AppState& state) {
    saveSettings(state);
    return 0;
}

int runApplication(const AppOperations& ops) {
    platform::Platform platform;
    AppState state;
    state.ops = ops;
    startUp(state);
    runMainLoop(state);
    const int code = shutDown(state);
    state.window.reset();
    return code;
}

} // namespace corvel
