#pragma once

#include "core/app_state.h"

namespace corvel {

// Looks for the emulator, the image tool and a disk image, offers to fetch what is missing,
// and leaves the verdict in prerequisitesMissing.
int ensurePrerequisites(AppState& state);

} // namespace corvel
