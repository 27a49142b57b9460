#pragma once

#include <QString>

namespace corvel::platform {

// The plain-text editor that stands in for the system's notepad when no outside editor is
// configured: a modal window titled with the file's path, with Save and Close. Returns when the
// window is closed; every other window of the application takes no input meanwhile.
void runTextEditor(const QString& path);

} // namespace corvel::platform
