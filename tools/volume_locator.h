#pragma once

#include "outcome.h"

#include <cstdint>
#include <string>

namespace corvel::imagetool {

struct VolumeLocation final {
    std::uint64_t offset = 0; // bytes from the start of the image file
    bool partitioned = false;
};

// Finds the FAT volume in an image: either the whole file (bare volume) or the first
// partition of an MBR whose type says FAT.
Outcome<VolumeLocation> locateVolume(const std::string& imagePath);

} // namespace corvel::imagetool
