#pragma once

#include "fat_volume.h"
#include "image_path.h"
#include "mtools_session.h"
#include "outcome.h"

#include <optional>
#include <string>

namespace corvel::imagetool {

enum class PathState { Missing, File, Folder };

// An image ready for work: our reader for looking things up, mtools for changing them.
struct OpenedImage final {
    FatVolume volume;
    MtoolsSession mtools;

    // Fails with a message naming the path when it is missing.
    Outcome<FatNode> require(const ImagePath& path);
    // What is at a path about to be written to. Missing only when the parent folder exists,
    // so that the path can be created; a missing parent is a failure.
    Outcome<PathState> inspectForWriting(const ImagePath& path);
};

Outcome<OpenedImage> openImage(const std::string& imagePath);

} // namespace corvel::imagetool
