#pragma once

#include "outcome.h"

#include <string>

namespace corvel::imagetool {

// Removes a file, or a folder with everything in it.
Status removeFromImage(const std::string& imagePath, const std::string& path);

// Creating a folder that already exists succeeds, so a retried request does no harm; the
// parent folder must exist.
Status makeFolderInImage(const std::string& imagePath, const std::string& path);

} // namespace corvel::imagetool
