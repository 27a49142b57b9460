#pragma once

#include "core/app_state.h"
#include "download.h"

#include <optional>

namespace corvel {

// What the wait shows in the status bar: the probed length and the percent factor.
struct DownloadDisplay {
    qint64 expectedLength = 0;
    int percentFactor = 100;
};

// Blocks the GUI thread until the transfer has ended, polling every 50 ms and handling one
// window event per round (dropped). With a display it shows progress and the wait cursor; the
// quiet form (no display) touches neither. A transfer that succeeded is released here.
int waitForDownload(AppState& state, std::unique_ptr<DownloadTransfer>& transfer,
                    std::optional<DownloadDisplay> display);

} // namespace corvel
