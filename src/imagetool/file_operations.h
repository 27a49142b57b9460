#pragma once

#include "core/app_state.h"

namespace corvel {

void deleteSelectedEntries(AppState& state);
void viewEntryInEditor(AppState& state);
void copySelectionToImage(AppState& state);
void copyEntryToPc(AppState& state);
void createImageFolder(AppState& state);
void startListDrag(AppState& state, ControlId list);
void putDroppedFiles(AppState& state, const QStringList& paths);
void getSelectedEntries(AppState& state);
QString cleanFolderName(const QString& name);

} // namespace corvel
