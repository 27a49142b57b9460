#pragma once

#include "fat_boot_sector.h"
#include "outcome.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvel::imagetool {

struct CreateRequest final {
    std::string imagePath;
    std::uint64_t size = 0;
    std::optional<FatType> forcedType; // otherwise chosen from the size
    bool bare = false;                 // no partition table, the volume fills the file
};

// Arguments after "create": IMAGE SIZE [--fat16|--fat32] [--bare].
Outcome<CreateRequest> parseCreateArguments(const std::vector<std::string>& args);

// Builds the image next to its final name and renames it into place only once complete,
// so a failure never leaves a half-made image or destroys the file it was to replace.
Status createImage(const CreateRequest& request);

} // namespace corvel::imagetool
