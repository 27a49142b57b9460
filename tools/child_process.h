#pragma once

#include "outcome.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace corvel::imagetool {

struct ProcessResult final {
    int exitCode = -1; // -1 when the child died from a signal
    std::string standardOutput;
    std::string standardError;

    bool succeeded() const { return exitCode == 0; }
    // The first non-blank line of stderr (or stdout): enough to tell the user what broke.
    std::string firstMessageLine() const;
};

using Environment = std::vector<std::string>; // "NAME=value" strings, as execve wants them

// This process's environment with the given variables replaced or added, and every
// variable whose name starts with one of dropPrefixes removed first.
Environment environmentWith(const std::map<std::string, std::string>& overrides,
                            const std::vector<std::string>& dropPrefixes = {});

// Looks in PATH and then in the sbin folders, which a desktop user's PATH often lacks
// although mkfs.fat lives there.
std::optional<std::string> findExecutable(const std::string& name);

// Runs argv[0] without a shell, with /dev/null as stdin, and collects both output streams.
Outcome<ProcessResult> runProcess(const std::vector<std::string>& argv, const Environment& env);

} // namespace corvel::imagetool
