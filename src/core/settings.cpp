#include "settings.h"

namespace corvel {

void loadSettings(AppState& state) { (void)state; }

void saveSettings(AppState& state) { (void)state; }

void editSettings(AppState& state) { (void)state; }

} // namespace corvel
