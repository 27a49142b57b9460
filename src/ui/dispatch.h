#pragma once

#include "core/app_state.h"

namespace corvel {

inline constexpr int FilterEnterMenuNumber = 15;

// Runs the action of one window event to completion; false asks the main loop to stop.
bool handleEvent(AppState& state, const UiEvent& event);
void applyExplorerFilter(AppState& state);

} // namespace corvel
