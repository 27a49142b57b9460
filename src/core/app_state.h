#pragma once

#include "app_types.h"
#include "main_window_port.h"
#include "platform/event_queue.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace corvel {

struct AppState;

// The operations that start-up, the main loop and the settings file call in the subsystems
// built on top of core. The executable (and each test) wires them, so core links nothing above
// itself.
struct AppOperations {
    std::function<std::unique_ptr<MainWindowPort>(AppState&, int x, int y, int w, int h)>
        openMainWindow;
    std::function<bool(AppState&, const UiEvent&)> handleEvent;
    std::function<void(AppState&)> refreshImageListing;
    std::function<int(AppState&, const QString& program, const QString& arguments, int mode,
                      const QString& workingFolder)>
        runTool;
};

// The one record of paths, settings and listing state. Owned by the application object, passed
// by reference, touched only on the GUI thread.
struct AppState {
    QString imagePath;
    QString imageDir;
    QString explorePath;
    QString startDir;
    QString hdfmonkeyExe;
    QString cspectExe;
    QString cspectZip;
    QString escSetting;
    QString customCommand;
    QString titleText;
    int prerequisitesMissing = 0;
    std::vector<DirEntry> entries;
    std::vector<ChoiceItem> choices;

    AppOperations ops;
    platform::UiEventQueue events;
    // The main window; it also holds the controls made without a number.
    std::unique_ptr<MainWindowPort> window;
};

} // namespace corvel
