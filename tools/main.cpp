// corvel-imagetool: lists and changes the files inside FAT disk images (SD card images for
// the Spectrum Next and similar machines). The Corvel front end runs it as a child process.

#include "image_creator.h"
#include "image_editing.h"
#include "image_listing.h"
#include "image_transfer.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using corvel::imagetool::Status;

constexpr const char* kUsage =
    "corvel-imagetool - Corvel's FAT disk-image tool\n"
    "\n"
    "Usage:\n"
    "  corvel-imagetool ls IMAGE FOLDER          list a folder (\"\" is the root)\n"
    "  corvel-imagetool get IMAGE SOURCE DEST    copy a file or folder out of the image\n"
    "  corvel-imagetool put IMAGE SOURCE DEST    copy a file or folder into the image\n"
    "  corvel-imagetool rm IMAGE PATH            remove a file, or a folder and its contents\n"
    "  corvel-imagetool mkdir IMAGE PATH         create a folder\n"
    "  corvel-imagetool create IMAGE SIZE [--fat16|--fat32] [--bare]\n"
    "                                            make a new image (SIZE like 64M or 2G);\n"
    "                                            --bare leaves out the partition table\n"
    "\n"
    "Paths inside the image use \"/\", like /GAMES/ZX. Images may be bare FAT volumes or\n"
    "have an MBR partition table (the first FAT partition is used).\n";

int report(const Status& status) {
    if (!status.ok()) {
        std::fprintf(stderr, "Error: %s\n", status.error().c_str());
        return 1;
    }
    return 0;
}

int wrongArguments(const std::string& command) {
    std::fprintf(stderr, "Error: wrong number of arguments for %s (see --help)\n", command.c_str());
    return 2;
}

int dispatch(const std::string& command, const std::vector<std::string>& args) {
    namespace tool = corvel::imagetool;
    if (command == "ls") {
        if (args.size() != 2) {
            std::printf("Error: usage: ls IMAGE FOLDER\n");
            return 2;
        }
        return tool::listFolder(args[0], args[1]);
    }
    if (command == "get" || command == "put") {
        if (args.size() != 3) {
            return wrongArguments(command);
        }
        return report(command == "get" ? tool::getFromImage(args[0], args[1], args[2])
                                       : tool::putIntoImage(args[0], args[1], args[2]));
    }
    if (command == "rm" || command == "mkdir") {
        if (args.size() != 2) {
            return wrongArguments(command);
        }
        return report(command == "rm" ? tool::removeFromImage(args[0], args[1])
                                      : tool::makeFolderInImage(args[0], args[1]));
    }
    if (command == "create") {
        const auto request = tool::parseCreateArguments(args);
        return request.ok() ? report(tool::createImage(request.value()))
                            : report(Status::failure(request.error()));
    }
    std::fprintf(stderr, "Error: unknown command \"%s\" (see --help)\n", command.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    return dispatch(words[0], std::vector<std::string>(words.begin() + 1, words.end()));
}
