#pragma once

#include "core/app_state.h"

namespace corvel {

void refreshImageListing(AppState& state);
void selectDiskImage(AppState& state);
void openImageRow(AppState& state);
QString parentImageDir(const QString& dir);

} // namespace corvel
