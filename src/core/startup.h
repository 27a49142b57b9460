#pragma once

#include "app_state.h"

namespace corvel {

// The texts of start-up, kept together so the greeting and the about box read as one.
QString greetingCreditLine(const QString& titleText);
QString emulatorCreditLine();
QString imageToolCreditLine();
QString aboutText();

// Start-up after the platform exists: fills the state, opens the window, loads the settings,
// greets, shows the about box and builds the context menu.
void startUp(AppState& state);
// Hands every window event to the dispatcher until it asks to stop.
void runMainLoop(AppState& state);
// Saves the settings; returns the process's exit code.
int shutDown(AppState& state);

// The whole life of the program: platform, start-up, main loop, shut-down.
int runApplication(const AppOperations& ops);

} // namespace corvel
