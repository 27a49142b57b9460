#pragma once

#include "app_state.h"

namespace corvel {

// The settings file "zelt.cfg" in the start folder: read at start and after an edit, written
// at exit and before an edit.
void loadSettings(AppState& state);
void saveSettings(AppState& state);
void editSettings(AppState& state);

} // namespace corvel
