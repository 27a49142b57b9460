#include "image_listing.h"

#include "image_path.h"
#include "opened_image.h"

#include <cstdio>

namespace corvel::imagetool {

namespace {

// A damaged entry could hold a tab or line break and shift every column after it.
std::string printableName(std::string name) {
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    return name;
}

Outcome<std::string> listing(const std::string& imagePath, const std::string& folder) {
    using Result = Outcome<std::string>;
    const auto path = ImagePath::parse(folder);
    if (!path.ok()) {
        return Result::failure(path.error());
    }
    auto image = openImage(imagePath);
    if (!image.ok()) {
        return Result::failure(image.error());
    }
    const auto node = image.value().volume.find(path.value().components());
    if (!node.ok()) {
        return Result::failure(node.error());
    }
    if (!node.value()) {
        return Result::failure("no such folder " + path.value().display());
    }
    if (!node.value()->isDirectory()) {
        return Result::failure(path.value().display() + " is not a folder");
    }
    const auto entries = image.value().volume.list(*node.value());
    if (!entries.ok()) {
        return Result::failure(entries.error());
    }
    std::string text;
    for (const auto& entry : entries.value()) {
        text += entry.isDirectory ? std::string("[DIR]") : std::to_string(entry.size);
        text += '\t' + printableName(entry.name) + '\n';
    }
    return Result::success(std::move(text));
}

} // namespace

int listFolder(const std::string& imagePath, const std::string& folder) {
    const auto result = listing(imagePath, folder);
    const std::string text =
        result.ok() ? result.value() : "Error: " + printableName(result.error()) + '\n';
    std::fwrite(text.data(), 1, text.size(), stdout);
    return result.ok() ? 0 : 1;
}

} // namespace corvel::imagetool
