#include "opened_image.h"

#include "volume_locator.h"

#include <string_view>

namespace corvel::imagetool {

namespace {

bool isValidFatName(const std::string& name) {
    constexpr std::string_view kForbidden = "\"*:<>?\\|";
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || kForbidden.find(c) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

} // namespace

Outcome<OpenedImage> openImage(const std::string& imagePath) {
    using Result = Outcome<OpenedImage>;
    const auto location = locateVolume(imagePath);
    if (!location.ok()) {
        return Result::failure(location.error());
    }
    auto volume = FatVolume::open(imagePath, location.value().offset);
    if (!volume.ok()) {
        return Result::failure(volume.error());
    }
    auto mtools = MtoolsSession::open(imagePath, location.value().offset);
    if (!mtools.ok()) {
        return Result::failure(mtools.error());
    }
    return Result::success(OpenedImage{std::move(volume.value()), std::move(mtools.value())});
}

Outcome<FatNode> OpenedImage::require(const ImagePath& path) {
    const auto found = volume.find(path.components());
    if (!found.ok()) {
        return Outcome<FatNode>::failure(found.error());
    }
    if (!found.value()) {
        return Outcome<FatNode>::failure("no such file or folder in the image: " + path.display());
    }
    return Outcome<FatNode>::success(*found.value());
}

Outcome<PathState> OpenedImage::inspectForWriting(const ImagePath& path) {
    using Result = Outcome<PathState>;
    const auto found = volume.find(path.components());
    if (!found.ok()) {
        return Result::failure(found.error());
    }
    if (found.value()) {
        return Result::success(found.value()->isDirectory() ? PathState::Folder : PathState::File);
    }
    const ImagePath parent = path.parent();
    const auto parentFound = volume.find(parent.components());
    if (!parentFound.ok()) {
        return Result::failure(parentFound.error());
    }
    if (!parentFound.value() || !parentFound.value()->isDirectory()) {
        return Result::failure("no such folder in the image: " + parent.display());
    }
    if (!isValidFatName(path.name())) {
        // mtools would quietly change such a name (it drops everything up to a ':').
        return Result::failure("\"" + path.name() +
                               "\" cannot be used: FAT names cannot hold \" * : < > ? \\ |");
    }
    return Result::success(PathState::Missing);
}

} // namespace corvel::imagetool
