#include "image_editing.h"

#include "opened_image.h"

namespace corvel::imagetool {

Status removeFromImage(const std::string& imagePath, const std::string& path) {
    const auto target = ImagePath::parse(path);
    if (!target.ok()) {
        return Status::failure(target.error());
    }
    if (target.value().isRoot()) {
        return Status::failure("the root folder cannot be removed");
    }
    auto image = openImage(imagePath);
    if (!image.ok()) {
        return Status::failure(image.error());
    }
    const auto node = image.value().require(target.value());
    if (!node.ok()) {
        return Status::failure(node.error());
    }
    const char* tool = node.value().isDirectory() ? "mdeltree" : "mdel";
    return image.value().mtools.run(tool, {target.value().mtoolsPattern()},
                                    "cannot remove " + target.value().display());
}

Status makeFolderInImage(const std::string& imagePath, const std::string& path) {
    const auto target = ImagePath::parse(path);
    if (!target.ok()) {
        return Status::failure(target.error());
    }
    auto image = openImage(imagePath);
    if (!image.ok()) {
        return Status::failure(image.error());
    }
    const auto state = image.value().inspectForWriting(target.value());
    if (!state.ok()) {
        return Status::failure(state.error());
    }
    if (state.value() != PathState::Missing) {
        return state.value() == PathState::Folder
                   ? succeeded()
                   : Status::failure(target.value().display() + " exists and is not a folder");
    }
    return image.value().mtools.run("mmd", {target.value().mtoolsNewName()},
                                    "cannot create folder " + target.value().display());
}

} // namespace corvel::imagetool
