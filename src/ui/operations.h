#pragma once

#include "core/app_state.h"

namespace corvel {

// The real window, dispatcher, image browser and tool runner, wired for start-up.
AppOperations standardOperations();
std::unique_ptr<MainWindowPort> openMainWindow(AppState& state, int x, int y, int width,
                                               int height);

} // namespace corvel
