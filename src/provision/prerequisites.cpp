#include "prerequisites.h"

namespace corvel {

int ensurePrerequisites(AppState& state) {
    (void)state;
    return 0;
}

} // namespace corvel
