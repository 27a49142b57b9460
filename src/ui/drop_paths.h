#pragma once

#include <QStringList>

class QDropEvent;
class QMimeData;

namespace corvel {

// The format of a drag that starts on the image list: it carries no usable path, only the fact
// that image rows are being dragged (the drop side reads the image list's selection).
inline constexpr char ImageRowsMimeType[] = "application/x-corvel-image-rows";

bool acceptsFileDrop(const QMimeData* mime);
// Accepts a drag or drop of files with the copy action; false when it carries none.
bool acceptCopyDrop(QDropEvent* event);
// The local file paths of a drop, in native form; remote URLs are skipped.
QStringList droppedPaths(const QMimeData* mime);
QMimeData* makeFileDragData(const QStringList& paths);

} // namespace corvel
