#include "file_operations.h"

namespace corvel {

void deleteSelectedEntries(AppState& state) { (void)state; }
void viewEntryInEditor(AppState& state) { (void)state; }
void copySelectionToImage(AppState& state) { (void)state; }
void copyEntryToPc(AppState& state) { (void)state; }
void createImageFolder(AppState& state) { (void)state; }
void startListDrag(AppState& state, ControlId list) {
    (void)state;
    (void)list;
}
void putDroppedFiles(AppState& state, const QStringList& paths) {
    (void)state;
    (void)paths;
}
void getSelectedEntries(AppState& state) { (void)state; }
QString cleanFolderName(const QString& name) { return name; }

} // namespace corvel
