#include "file_operations.h"

#include "argument_lines.h"
#include "image_browser.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/program_resolution.h"
#include "tool_runner.h"

#include <QDir>

namespace corvel {

namespace {

QString filenameCell(const AppState& state, int row) {
    return state.window->imageCell(row, 1);
}

// The folder where an entry is copied to be opened on the PC. TEMP is the named place; where it
// is not set (usual outside Windows) the system's temporary folder stands in, since an empty
// value would put the copy at the root of the file system.
QString viewingFolder() {
    QString folder = platform::environmentValue(QStringLiteral("TEMP"));
    if (folder.isEmpty())
        folder = QDir::toNativeSeparators(QDir::tempPath());
    return folder + QDir::separator();
}

bool confirmDelete(const AppState& state, int selected) {
    const QString question =
        selected == 1 ? QStringLiteral("Really delete ") +
                            filenameCell(state, state.window->firstSelectedImageRow()) + u'?'
                      : QStringLiteral("Delete multiple files?");
    return platform::dialogs().askYesNo(QStringLiteral("Confirm"), question);
}

} // namespace

void deleteSelectedEntries(AppState& state) {
    MainWindowPort& w = *state.window;
    const int selected = w.selectedImageRowCount();
    if (selected == 0 || !confirmDelete(state, selected))
        return;
    // The rows are read before the first run: the list is only rebuilt by the refresh below.
    QStringList names;
    for (int row = 0; row < w.imageRowCount(); ++row) {
        if (w.imageRowSelected(row))
            names << filenameCell(state, row);
    }
    for (const QString& name : names) {
        w.logLine(QStringLiteral("Deleting ") + state.imageDir + u'/' + name);
        runTool(state, state.hdfmonkeyExe, removeLine(state, name), Quiet, QString());
    }
    refreshImageListing(state);
}

void viewEntryInEditor(AppState& state) {
    const int row = state.window->firstSelectedImageRow();
    if (row < 0 || state.window->imageCell(row, 2) == QStringLiteral("DIR"))
        return;
    const QString name = filenameCell(state, row);
    const QString folder = viewingFolder();
    if (const QString note = unsendablePathNote(folder); !note.isEmpty()) {
        state.window->logLine(note);
        return;
    }
    runTool(state, state.hdfmonkeyExe, getLine(state, name, folder + name), Quiet, QString());
    // The name comes from inside the image: it goes to the desktop's opener as one argument and
    // never reaches a command interpreter, even when the copy failed and no such file exists.
    platform::openWithAssociatedProgram(folder, name);
}

void createImageFolder(AppState& state) {
    const QString answer = platform::dialogs().inputText(
        QStringLiteral("Create new folder"),
        QStringLiteral("Enter new name (do not use <>:\"/\\|?* ) "), QString());
    const QString name = cleanFolderName(answer);
    if (name.isEmpty())
        return;
    state.window->logLine(QStringLiteral("Creating ") + state.imageDir + u'/' + name);
    runTool(state, state.hdfmonkeyExe, makeFolderLine(state, name), Quiet, QString());
    refreshImageListing(state);
}

QString cleanFolderName(const QString& name) {
    QString cleaned = name;
    cleaned.replace(u' ', u'_');
    for (const QChar c : {u'.', u'\\', u'/', u':', u'"', u'|', u'?', u'*'})
        cleaned.remove(c);
    return cleaned;
}

} // namespace corvel
