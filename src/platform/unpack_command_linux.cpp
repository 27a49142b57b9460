#include "unpack_command.h"

#include <QDir>

namespace corvel::platform {

namespace {

const QString kVerb = QStringLiteral("Expand-Archive -Path ");
const QString kDestination = QStringLiteral(" -DestinationPath ");
const QString kForce = QStringLiteral(" -Force");

} // namespace

// The paths are cut out by the fixed words around them rather than split at blanks, so a start
// folder with a blank in its name still yields one archive and one destination.
std::optional<ResolvedProgram> expandArchiveCommand(const QString& argumentLine) {
    const qsizetype verb = argumentLine.indexOf(kVerb, 0, Qt::CaseInsensitive);
    if (verb < 0)
        return std::nullopt;
    QString rest = argumentLine.mid(verb + kVerb.size());
    if (rest.endsWith(u'"'))
        rest.chop(1);
    if (!rest.endsWith(kForce, Qt::CaseInsensitive))
        return std::nullopt;
    rest.chop(kForce.size());
    const qsizetype destination = rest.lastIndexOf(kDestination, -1, Qt::CaseInsensitive);
    if (destination <= 0)
        return std::nullopt;
    const QString archive = rest.left(destination);
    const QString folder = rest.mid(destination + kDestination.size());
    if (folder.isEmpty())
        return std::nullopt;
    QDir().mkpath(folder);
    ResolvedProgram r;
    r.program = QStringLiteral("bsdtar");
    r.arguments = {QStringLiteral("-x"), QStringLiteral("-S"),
                   QStringLiteral("-f"), archive,
                   QStringLiteral("-C"), folder};
    return r;
}

} // namespace corvel::platform
