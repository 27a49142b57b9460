#pragma once

#include <optional>
#include <QString>
#include <QStringList>

namespace corvel::platform {

enum class PathKind { Missing, File, Folder };

// A folder path in native form, ending with the separator.
QString asFolderPath(const QString& path);
// The process's working directory in native form, ending with the separator.
QString workingDirectory();
// The root folders of the mounted volumes, which stand for the drives of the PC.
QStringList mountedVolumeFolders();
bool setWorkingDirectory(const QString& path);
QString environmentValue(const QString& name);
PathKind pathKind(const QString& path);
bool makeFolder(const QString& path);
bool deleteFile(const QString& path);

// Reads a text file as UTF-8 lines; a line ends at CR LF, a lone LF or a lone CR. A byte-order
// mark at the very start is skipped. std::nullopt when the file cannot be opened.
std::optional<QStringList> readTextLines(const QString& path);
std::optional<QString> readFirstLine(const QString& path);

// Writes the lines as UTF-8 without a mark, each ended by CR LF, into a file beside the target
// that is then renamed onto it: a failed write leaves the old file whole.
bool writeTextLinesAtomically(const QString& path, const QStringList& lines);

} // namespace corvel::platform
