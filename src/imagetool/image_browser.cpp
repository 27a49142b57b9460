#include "image_browser.h"

namespace corvel {

void refreshImageListing(AppState& state) { (void)state; }
void selectDiskImage(AppState& state) { (void)state; }
void openImageRow(AppState& state) { (void)state; }
QString parentImageDir(const QString& dir) { return dir; }

} // namespace corvel
