#pragma once

#include "core/app_state.h"

namespace corvel {

// Runs an outside program in one of the run modes and reads what it prints.
int runTool(AppState& state, const QString& program, const QString& arguments, int mode,
            const QString& workingFolder);
DirEntry parseListingLine(const QString& line);

} // namespace corvel
