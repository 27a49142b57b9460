#pragma once

#include "child_process.h"
#include "outcome.h"
#include "unique_fd.h"

#include <cstdint>
#include <string>
#include <vector>

namespace corvel::imagetool {

// Runs mtools commands against one volume of one image file, never interactively.
class MtoolsSession final {
public:
    static Outcome<MtoolsSession> open(const std::string& imagePath, std::uint64_t offset);

    // `what` says in the user's terms what was attempted; mtools' own complaint is appended.
    Status run(const std::string& tool, const std::vector<std::string>& args,
               const std::string& what) const;

private:
    MtoolsSession(std::string driveSpec, UniqueFd heldImage);

    std::string m_driveSpec;
    UniqueFd m_heldImage;
    Environment m_environment;
};

} // namespace corvel::imagetool
