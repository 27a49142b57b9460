#pragma once

#include "program_resolution.h"

#include <optional>
#include <QString>

namespace corvel::platform {

// The archive unpacker's argument line ("... Expand-Archive -Path A -DestinationPath D -Force")
// becomes `bsdtar -x -S -f A -C D`: it replaces existing files, refuses entries that would land
// outside D and writes runs of zeros as holes, so a mostly empty disk image stays small on
// disk. D is created first. Nothing when the line is not of that form.
std::optional<ResolvedProgram> expandArchiveCommand(const QString& argumentLine);

} // namespace corvel::platform
