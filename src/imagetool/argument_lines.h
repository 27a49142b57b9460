#pragma once

#include "core/app_state.h"

namespace corvel {

// The image tool's argument lines, composed as one text each: that text is what the platform
// splits into an argv and what the log and the tests see.

// "" at the image root, else imageDir + "/": where put writes inside the image.
QString imageTargetPrefix(const AppState& state);
QString listLine(const AppState& state);
QString removeLine(const AppState& state, const QString& name);
QString makeFolderLine(const AppState& state, const QString& name);
// get of name in imageDir to the PC file destination (a full path).
QString getLine(const AppState& state, const QString& name, const QString& destination);
// put of the PC file folder + file (folder ends with the separator) as imageTargetPrefix + file.
QString putLine(const AppState& state, const QString& folder, const QString& file);

// A double quote ends the quoted run of an argument line, so a PC path holding one would reach
// the tool as different arguments: such a path is never sent. Returns the log line that says
// so, or "" when the path can be sent.
QString unsendablePathNote(const QString& path);

} // namespace corvel
