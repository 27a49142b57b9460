#pragma once

#include <string>

namespace corvel::imagetool {

// Prints the folder's entries to stdout, "[DIR]\tname" or "size\tname" per line. On failure
// prints a single "Error: ..." line, also to stdout because that is where the front end
// looks, and returns non-zero.
int listFolder(const std::string& imagePath, const std::string& folder);

} // namespace corvel::imagetool
