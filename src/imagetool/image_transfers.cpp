#include "argument_lines.h"
#include "core/path_helpers.h"
#include "file_operations.h"
#include "image_browser.h"
#include "tool_runner.h"

#include <QDir>

namespace corvel {

namespace {

const QString ParentEntry = QStringLiteral("..");

// Sends one PC file or folder to imageTargetPrefix + file. Returns false when nothing was sent.
bool putOne(AppState& state, const QString& folder, const QString& file) {
    if (const QString note = unsendablePathNote(folder + file); !note.isEmpty()) {
        state.window->logLine(note);
        return false;
    }
    state.window->logLine(QStringLiteral("Copying ") + file + QStringLiteral(" to ") +
                          imageTargetPrefix(state) + file);
    runTool(state, state.hdfmonkeyExe, putLine(state, folder, file), Quiet, QString());
    return true;
}

// Copies the entry name of imageDir into the PC folder (which ends with the separator). The
// destination gets a second separator before the name, as the argument line has always had.
void getOne(AppState& state, const QString& folder, const QString& name) {
    const QString destination = folder + QDir::separator() + name;
    if (const QString note = unsendablePathNote(destination); !note.isEmpty()) {
        state.window->logLine(note);
        return;
    }
    runTool(state, state.hdfmonkeyExe, getLine(state, name, destination), Quiet, QString());
}

// The explorer's folder, or "" while it lists the drives: there is no PC folder to copy from
// or into then, and an empty one would make the paths relative or put files at the root.
QString explorerFolderPart(const AppState& state) {
    return folderPart(state.window->explorerFolder());
}

// A dropped folder may arrive with a closing separator; its name is the part before it.
QString withoutClosingSeparator(QString path) {
    while (path.size() > 1 && (path.endsWith(u'/') || path.endsWith(u'\\')))
        path.chop(1);
    return path;
}

} // namespace

void copySelectionToImage(AppState& state) {
    MainWindowPort& w = *state.window;
    const QString folder = explorerFolderPart(state);
    if (folder.isEmpty())
        return;
    for (int index = 0; index < w.explorerEntryCount(); ++index) {
        // The parent entry stands for the folder above, not for an item of this one.
        if (!w.explorerEntrySelected(index) || w.explorerEntryName(index) == ParentEntry)
            continue;
        if (putOne(state, folder, w.explorerEntryName(index)))
            refreshImageListing(state);
    }
}

void copyEntryToPc(AppState& state) {
    const int row = state.window->firstSelectedImageRow();
    const QString folder = explorerFolderPart(state);
    if (row < 0 || folder.isEmpty())
        return;
    const QString name = state.window->imageCell(row, 1);
    state.window->logLine(QStringLiteral("Copying ") + imageTargetPrefix(state) + name +
                          QStringLiteral(" to ") + folder);
    getOne(state, folder, name);
}

void getSelectedEntries(AppState& state) {
    MainWindowPort& w = *state.window;
    const QString folder = explorerFolderPart(state);
    if (folder.isEmpty())
        return;
    QStringList names;
    for (int row = 0; row < w.imageRowCount(); ++row) {
        if (w.imageRowSelected(row))
            names << w.imageCell(row, 1);
    }
    for (const QString& name : names)
        getOne(state, folder, name);
}

void putDroppedFiles(AppState& state, const QStringList& paths) {
    bool sent = false;
    for (const QString& dropped : paths) {
        const QString path = withoutClosingSeparator(dropped);
        // The name is cut at a double quote, so such a path is refused whole, before that cut
        // could make it name another file.
        if (const QString note = unsendablePathNote(path); !note.isEmpty()) {
            state.window->logLine(note);
            continue;
        }
        const QString file = filePart(path);
        if (file.isEmpty())
            continue;
        sent = putOne(state, folderPart(path), file) || sent;
    }
    if (sent)
        refreshImageListing(state);
}

void startListDrag(AppState& state, ControlId list) {
    MainWindowPort& w = *state.window;
    if (list == ControlId::ImageList) {
        // The drop on the explorer reads the image list's selection, so the drag needs no path.
        if (w.selectedImageRowCount() > 0)
            w.startFileDrag({});
        return;
    }
    QStringList paths;
    for (int index = 0; index < w.explorerEntryCount(); ++index) {
        if (w.explorerEntrySelected(index) && w.explorerEntryName(index) != ParentEntry)
            paths << w.explorerFolder() + w.explorerEntryName(index);
    }
    if (!paths.isEmpty())
        w.startFileDrag(paths);
}

} // namespace corvel
