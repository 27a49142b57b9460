#include "image_transfer.h"

#include "opened_image.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace corvel::imagetool {

namespace {

namespace fs = std::filesystem;

// -n/-o/-D o: replace what is there on either side instead of asking. -m keeps file times.
// -Q: stop at the first failure (a full image) instead of carrying on with the rest.
const std::vector<std::string> kCopyOptions = {"-n", "-o", "-D", "o", "-m", "-Q"};

// mcopy reads "x:..." as drive x and "-..." as an option, so relative PC paths get "./".
std::string pcArgument(const std::string& path) {
    return path.empty() || path.front() == '/' ? path : "./" + path;
}

std::vector<std::string> copyArguments(bool recursive) {
    std::vector<std::string> args = kCopyOptions;
    if (recursive) {
        args.insert(args.begin(), "-s");
    }
    return args;
}

Status ensurePcFolder(const std::string& path) {
    std::error_code error;
    if (fs::is_directory(path, error)) {
        return succeeded();
    }
    if (fs::exists(path, error)) {
        return Status::failure(path + " exists and is not a folder");
    }
    if (!fs::create_directory(path, error)) {
        return Status::failure("cannot create folder " + path + ": " + error.message());
    }
    return succeeded();
}

Outcome<std::vector<std::string>> pcFolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        names.push_back(entry.path().filename().string());
    }
    if (error) {
        return Outcome<std::vector<std::string>>::failure("cannot read folder " + folder + ": " +
                                                          error.message());
    }
    std::sort(names.begin(), names.end());
    return Outcome<std::vector<std::string>>::success(std::move(names));
}

// mcopy names what it copies out of a folder by itself, and for a lower-case 8.3 name with
// non-ASCII letters it gets the case wrong. Renaming afterwards is far cheaper than one
// mcopy per file.
Status restoreNames(FatVolume& volume, const FatNode& folder, const fs::path& pcFolder) {
    const auto entries = volume.list(folder);
    if (!entries.ok()) {
        return Status::failure(entries.error());
    }
    for (const auto& entry : entries.value()) {
        std::error_code error;
        if (entry.mtoolsCopyName != entry.name) {
            fs::rename(pcFolder / entry.mtoolsCopyName, pcFolder / entry.name, error);
        }
        const Status inner =
            entry.isDirectory ? restoreNames(volume, FatNode{false, entry}, pcFolder / entry.name)
                              : succeeded();
        if (!inner.ok()) {
            return inner;
        }
    }
    return succeeded();
}

Status getFolder(OpenedImage& image, const ImagePath& source, const FatNode& node,
                 const std::string& destination) {
    const Status made = ensurePcFolder(destination);
    if (!made.ok()) {
        return made;
    }
    const auto entries = image.volume.list(node);
    if (!entries.ok() || entries.value().empty()) {
        return entries.ok() ? succeeded() : Status::failure(entries.error());
    }
    // One wildcard rather than a name per entry: mcopy looks each name up with a scan of
    // the whole folder, which made a 5,000-file folder take half a minute. Its "*" also
    // matches hidden and system entries.
    auto args = copyArguments(true);
    args.push_back(source.mtoolsFolderTarget() + '*');
    args.push_back(pcArgument(destination) + '/');
    const Status copied =
        image.mtools.run("mcopy", args, "cannot copy " + source.display() + " out of the image");
    return copied.ok() ? restoreNames(image.volume, node, destination) : copied;
}

Status putFolder(OpenedImage& image, const std::string& source, const ImagePath& destination,
                 PathState state) {
    const std::string what = "cannot copy " + source + " into the image";
    if (state == PathState::File) {
        return Status::failure(destination.display() + " exists and is not a folder");
    }
    if (state == PathState::Missing) {
        const Status made = image.mtools.run("mmd", {destination.mtoolsNewName()}, what);
        if (!made.ok()) {
            return made;
        }
    }
    const auto names = pcFolderEntries(source);
    if (!names.ok() || names.value().empty()) {
        return names.ok() ? succeeded() : Status::failure(names.error());
    }
    auto args = copyArguments(true);
    for (const auto& name : names.value()) {
        args.push_back(pcArgument((fs::path(source) / name).string()));
    }
    args.push_back(destination.mtoolsFolderTarget());
    return image.mtools.run("mcopy", args, what);
}

// An existing folder as target gets the file put inside it, as cp would.
Status putFile(OpenedImage& image, const std::string& source, const ImagePath& destination,
               PathState state) {
    auto args = copyArguments(false);
    args.push_back(pcArgument(source));
    args.push_back(state == PathState::Folder ? destination.mtoolsFolderTarget()
                                              : destination.mtoolsNewName());
    return image.mtools.run("mcopy", args, "cannot copy " + source + " into the image");
}

} // namespace

Status getFromImage(const std::string& imagePath, const std::string& source,
                    const std::string& destination) {
    const auto path = ImagePath::parse(source);
    auto image = openImage(imagePath);
    if (!path.ok() || !image.ok()) {
        return Status::failure(path.ok() ? image.error() : path.error());
    }
    const auto node = image.value().require(path.value());
    if (!node.ok()) {
        return Status::failure(node.error());
    }
    if (node.value().isDirectory()) {
        return getFolder(image.value(), path.value(), node.value(), destination);
    }
    // An existing PC folder as target gets the file put inside it, as cp would.
    std::error_code error;
    const std::string target = fs::is_directory(destination, error)
                                   ? (fs::path(destination) / node.value().entry.name).string()
                                   : destination;
    auto args = copyArguments(false);
    args.push_back(path.value().mtoolsPattern());
    args.push_back(pcArgument(target));
    return image.value().mtools.run("mcopy", args, "cannot copy " + source + " out of the image");
}

Status putIntoImage(const std::string& imagePath, const std::string& source,
                    const std::string& destination) {
    struct stat info {};
    if (::stat(source.c_str(), &info) != 0) {
        return Status::failure("no such file or folder: " + source);
    }
    const bool isFolder = S_ISDIR(info.st_mode);
    if (!isFolder && !S_ISREG(info.st_mode)) {
        return Status::failure(source + " is neither a file nor a folder");
    }
    const auto path = ImagePath::parse(destination);
    auto image = openImage(imagePath);
    if (!path.ok() || !image.ok()) {
        return Status::failure(path.ok() ? image.error() : path.error());
    }
    const auto state = image.value().inspectForWriting(path.value());
    if (!state.ok()) {
        return Status::failure(state.error());
    }
    return isFolder ? putFolder(image.value(), source, path.value(), state.value())
                    : putFile(image.value(), source, path.value(), state.value());
}

} // namespace corvel::imagetool
