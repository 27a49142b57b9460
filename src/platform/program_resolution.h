#pragma once

#include <optional>
#include <QString>
#include <QStringList>

namespace corvel::platform {

// What actually gets started for a program name and argument line composed the way the rest of
// the program composes them. The command interpreter, the text editor and .NET executables are
// stand-ins for programs this system does not have; everything else runs as named.
struct ResolvedProgram {
    QString program;
    QStringList arguments;
    // Set when no outside editor is configured: the built-in editor opens this file instead of
    // a process being started.
    std::optional<QString> editFile;
};

// workingFolder ("" for the current one) is where the child will start; a file named relative
// to it is looked up there.
ResolvedProgram resolveProgram(const QString& program, const QString& argumentLine,
                               const QString& workingFolder);

// Opens folder + name with the desktop's program for its type, without waiting. The file's path
// reaches the opener as one argument and never passes through a shell.
bool openWithAssociatedProgram(const QString& folder, const QString& name);

// Why a program named by its path could not be started, or nothing when it can be.
std::optional<QString> programStartProblem(const QString& program);

} // namespace corvel::platform
