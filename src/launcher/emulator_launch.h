#pragma once

#include "core/app_state.h"

namespace corvel {

QString buildEmulatorOptions(const AppState& state);
void launchNexFile(AppState& state, const QString& folder, const QString& name);
void openWithAssociation(AppState& state, const QString& folder, const QString& name);
void launchNextZXOS(AppState& state);
void launchCustom(AppState& state);

} // namespace corvel
