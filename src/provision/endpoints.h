#pragma once

#include <QString>

namespace corvel {

// Where the prerequisites are fetched from. Each address has a default of our own and can be
// replaced by an environment variable (CORVEL_VERSION_URL, CORVEL_EMULATOR_BASE_URL,
// CORVEL_IMAGETOOL_URL, CORVEL_IMAGE_BASE_URL), which is how tests and mirrors point elsewhere.
struct Endpoints {
    QString versionUrl;   // the whole address of the version file
    QString emulatorBase; // the emulator archive's name is appended
    QString toolUrl;      // the whole address of the image tool
    QString imageBase;    // the disk-image archive's base name and ".zip" are appended
};

// Read afresh on every call, so a changed environment takes effect on the next check.
Endpoints endpoints();

} // namespace corvel
