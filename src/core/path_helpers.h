#pragma once

#include <QString>

namespace corvel {

// Path helpers shared by the image browser, the file operations and the launcher. "/" and the
// system's own separator end a folder.
QString folderPart(const QString& path);
QString filePart(const QString& path);
QString extensionPart(const QString& path);

} // namespace corvel
