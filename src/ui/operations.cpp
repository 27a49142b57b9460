#include "operations.h"

#include "dispatch.h"
#include "imagetool/image_browser.h"
#include "imagetool/tool_runner.h"
#include "main_window.h"

namespace corvel {

std::unique_ptr<MainWindowPort> openMainWindow(AppState& state, int x, int y, int width,
                                               int height) {
    // The window is always centred on the screen; the requested position has no effect.
    (void)x;
    (void)y;
    return std::make_unique<MainWindow>(state.events, width, height);
}

AppOperations standardOperations() {
    AppOperations ops;
    ops.openMainWindow = openMainWindow;
    ops.handleEvent = handleEvent;
    ops.refreshImageListing = refreshImageListing;
    ops.runTool = runTool;
    return ops;
}

} // namespace corvel
