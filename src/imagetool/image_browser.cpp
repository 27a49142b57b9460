#include "image_browser.h"

#include "argument_lines.h"
#include "core/path_helpers.h"
#include "platform/dialogs.h"
#include "tool_runner.h"

#include <algorithm>

namespace corvel {

namespace {

const QColor UpRowColor(166, 15, 43);
const QColor DirectoryColor(8, 5, 166);
const QColor FileColor(18, 87, 31);

// A stable sort by kind, ignoring case. The parser only ever makes the kinds "DIR" and "FILE",
// so that order is the directories first, each group in output order: a stable partition gives
// it in one pass.
void sortDirectoriesFirst(std::vector<DirEntry>& entries) {
    std::stable_partition(entries.begin(), entries.end(), [](const DirEntry& entry) {
        return entry.kind.compare(QStringLiteral("FILE"), Qt::CaseInsensitive) < 0;
    });
}

// Appends the rows of the sorted entries. A file whose size text carries "Error" is the tool
// reporting a failed listing: it ends the rows there and leaves nothing in entries.
void appendEntryRows(AppState& state) {
    MainWindowPort& w = *state.window;
    for (const DirEntry& entry : state.entries) {
        if (entry.kind == QStringLiteral("DIR")) {
            w.appendColoredImageRow({QString(), entry.name, entry.kind, QString()}, DirectoryColor);
        } else if (entry.size.contains(QStringLiteral("Error"))) {
            w.logLine(QStringLiteral("ERROR loading file - ") + entry.size);
            state.entries.clear();
            return;
        } else {
            w.appendColoredImageRow(
                {QString(), entry.name, extensionPart(entry.name).toLower(), entry.size},
                FileColor);
        }
    }
}

} // namespace

void refreshImageListing(AppState& state) {
    state.entries.clear();
    runTool(state, state.hdfmonkeyExe, listLine(state), Listing, QString());
    sortDirectoriesFirst(state.entries);
    if (!state.imageDir.isEmpty())
        state.window->setImageRowColor(0, UpRowColor);
    appendEntryRows(state);
    state.window->setImageTitle(QStringLiteral("Disk Image Explorer : ") + state.imageDir);
}

void selectDiskImage(AppState& state) {
    const QString chosen = platform::dialogs().openFileName(
        QStringLiteral("Select Disk Image File"),
        QStringLiteral("Disk Image File (*.img *.hdf)|*.img;*.hdf;*.raw|All files (*.*)|*.*"),
        folderPart(state.imagePath));
    if (!chosen.isEmpty()) {
        state.imagePath = u'"' + chosen + u'"';
        state.imageDir.clear();
        state.window->setImagePathText(state.imagePath);
    }
    refreshImageListing(state);
}

void openImageRow(AppState& state) {
    MainWindowPort& w = *state.window;
    const int row = w.firstSelectedImageRow();
    if (row < 0)
        return;
    const QString name = w.imageCell(row, 1);
    const QString type = w.imageCell(row, 2);
    if (type == QStringLiteral("DIR")) {
        state.imageDir += u'/' + name;
        refreshImageListing(state);
    }
    if (name == QStringLiteral("[Up Directory] ..")) {
        state.imageDir = parentImageDir(state.imageDir);
        refreshImageListing(state);
    }
}

// Searches from the next-to-last character back; a path with no separator there (only "/" can
// be such a path in practice, from a directory entry with an empty name) goes back to the root.
QString parentImageDir(const QString& dir) {
    for (qsizetype i = dir.size() - 2; i >= 0; --i) {
        if (dir[i] == u'/')
            return dir.left(i);
    }
    return QString();
}

} // namespace corvel
