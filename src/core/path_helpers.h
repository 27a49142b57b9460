#pragma once

#include <QString>

namespace corvel {

// Path helpers shared by the image browser, the file operations and the launcher. Both "/" and
// "\" count as separators, so names coming from either side work alike.
QString folderPart(const QString& path);
QString filePart(const QString& path);
QString extensionPart(const QString& path);

} // namespace corvel
