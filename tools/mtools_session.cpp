#include "mtools_session.h"

#include <fcntl.h>

namespace corvel::imagetool {

namespace {

// Every answer mtools might otherwise ask for or take from a user's configuration:
// - LC_ALL: long names are converted to and from the locale's charset, so it must be UTF-8.
// - HOME: a broken ~/.mtoolsrc makes every mtools command fail; MTOOLSRC alone does not
//   stop that file from being read.
// - The MTOOLS_ variables beat any configuration file, so a system-wide setting such as
//   mtools_lower_case cannot change names or behaviour.
Environment mtoolsEnvironment() {
    return environmentWith(
        {
            {"LC_ALL", "C.UTF-8"},
            {"HOME", "/nonexistent"},
            {"MTOOLSRC", "/dev/null"},
            {"MTOOLS_SKIP_CHECK", "1"},
            {"MTOOLS_NO_VFAT", "0"},
            {"MTOOLS_LOWER_CASE", "0"},
            {"MTOOLS_NAME_NUMERIC_TAIL", "1"},
        },
        {"MTOOLS", "LANG", "LC_"});
}

} // namespace

MtoolsSession::MtoolsSession(std::string driveSpec, UniqueFd heldImage)
    : m_driveSpec(std::move(driveSpec)), m_heldImage(std::move(heldImage)),
      m_environment(mtoolsEnvironment()) {}

Outcome<MtoolsSession> MtoolsSession::open(const std::string& imagePath, std::uint64_t offset) {
    std::string file = imagePath;
    UniqueFd held;
    if (imagePath.find("@@") != std::string::npos) {
        // mtools splits "-i" at the first "@@", so such a name cannot be passed as it is.
        // An inherited descriptor reached through /proc names the same file without it.
        held = UniqueFd(::open(imagePath.c_str(), O_RDONLY));
        if (!held.valid()) {
            return Outcome<MtoolsSession>::failure("cannot open image " + imagePath);
        }
        file = "/proc/self/fd/" + std::to_string(held.get());
    }
    std::string drive = offset == 0 ? file : file + "@@" + std::to_string(offset);
    return Outcome<MtoolsSession>::success(MtoolsSession(std::move(drive), std::move(held)));
}

Status MtoolsSession::run(const std::string& tool, const std::vector<std::string>& args,
                          const std::string& what) const {
    std::vector<std::string> argv = {tool, "-i", m_driveSpec};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto ran = runProcess(argv, m_environment);
    if (!ran.ok()) {
        return Status::failure(what + ": " + ran.error());
    }
    if (!ran.value().succeeded()) {
        const std::string detail = ran.value().firstMessageLine();
        return Status::failure(detail.empty() ? what : what + ": " + detail);
    }
    return succeeded();
}

} // namespace corvel::imagetool
