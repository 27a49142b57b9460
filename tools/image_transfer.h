#pragma once

#include "outcome.h"

#include <string>

namespace corvel::imagetool {

// DEST names the copy itself, for files and folders alike. Copying a folder onto an
// existing folder merges into it (replacing files of the same name) rather than nesting a
// second folder inside, which is what dragging a folder onto its old copy should do.
Status getFromImage(const std::string& imagePath, const std::string& source,
                    const std::string& destination);
Status putIntoImage(const std::string& imagePath, const std::string& source,
                    const std::string& destination);

} // namespace corvel::imagetool
