#include "files.h"
#include "process.h"
#include "program_resolution.h"
#include "unpack_command.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace corvel::platform {

namespace {

QString withoutEnclosingQuotes(const QString& text) {
    QString t = text;
    if (t.startsWith(u'"'))
        t.remove(0, 1);
    if (t.endsWith(u'"'))
        t.chop(1);
    return t;
}

bool isBareName(const QString& program) {
    return !program.contains(u'/');
}

bool namedAs(const QString& program, const QString& name) {
    return isBareName(program) && program.compare(name, Qt::CaseInsensitive) == 0;
}

// Archives of Windows programs ship names in any letter case ("CSpect.exe" for
// "cspect.exe"), so a missing file is looked for again inside its folder ignoring case.
QString findIgnoringCase(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() || isBareName(path))
        return path;
    const QDir folder = info.dir();
    if (!folder.exists())
        return path;
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return folder.filePath(name);
    }
    return path;
}

bool isWindowsExecutable(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(2) == "MZ";
}

QString monoProgram() {
    return QStandardPaths::findExecutable(QStringLiteral("mono"));
}

// The command interpreter's "/c" argument line: the text after "/c ".
QString interpreterCommand(const QString& argumentLine) {
    const bool hasSwitch =
        argumentLine.left(2).compare(QStringLiteral("/c"), Qt::CaseInsensitive) == 0 &&
        (argumentLine.size() == 2 || argumentLine[2] == u' ');
    return hasSwitch ? argumentLine.mid(3) : argumentLine;
}

// A command that is nothing but one double-quoted name of an existing file asks for that file
// to be opened with its associated program. Returns its absolute path in that case.
std::optional<QString> fileToOpen(const QString& command, const QString& workingFolder) {
    const QString text = command.trimmed();
    if (text.size() < 3 || !text.startsWith(u'"') || !text.endsWith(u'"'))
        return std::nullopt;
    // Quotes inside stay part of the name: any name that exists is opened, never run.
    const QString name = text.mid(1, text.size() - 2);
    const QDir base(workingFolder.isEmpty() ? QDir::currentPath() : workingFolder);
    const QString path = base.absoluteFilePath(name);
    if (pathKind(path) != PathKind::File)
        return std::nullopt;
    return path;
}

// The opener gets the file as one argv element and no shell ever sees it, so no character of
// a file name can turn into a command.
ResolvedProgram openerFor(const QString& path) {
    QStringList opener = splitArgumentLine(environmentValue(QStringLiteral("CORVEL_OPENER")));
    if (opener.isEmpty())
        opener << QStringLiteral("xdg-open");
    ResolvedProgram r;
    r.program = opener.takeFirst();
    r.arguments = opener << path;
    return r;
}

// A command line ends with the quoted path it works on (the custom command's disk image). That
// last quoted run reaches the shell as a positional parameter, so "$", backticks or ";" in a
// file name stay part of the name and never run.
ResolvedProgram shellCommand(const QString& command) {
    QString text = command;
    while (text.endsWith(u' '))
        text.chop(1);
    const qsizetype open =
        text.size() > 1 && text.endsWith(u'"') ? text.lastIndexOf(u'"', text.size() - 2) : -1;
    if (open < 0 || (open > 0 && text[open - 1] != u' '))
        return {QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command}, std::nullopt};
    const QString path = text.mid(open + 1, text.size() - open - 2);
    return {QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), text.left(open) + QStringLiteral("\"$1\""), QStringLiteral("sh"),
             path},
            std::nullopt};
}

ResolvedProgram commandInterpreter(const QString& argumentLine, const QString& workingFolder) {
    const QString command = interpreterCommand(argumentLine);
    if (const auto path = fileToOpen(command, workingFolder))
        return openerFor(*path);
    return shellCommand(command);
}

// The text editor takes its whole argument line as the one file it edits, as the Windows one
// does, so a start folder with blanks in its path still names one file.
ResolvedProgram textEditor(const QString& argumentLine) {
    const QString file = withoutEnclosingQuotes(argumentLine);
    QStringList visual = splitArgumentLine(environmentValue(QStringLiteral("VISUAL")));
    if (visual.isEmpty())
        return {QString(), {}, file};
    ResolvedProgram r;
    r.program = visual.takeFirst();
    r.arguments = visual << file;
    return r;
}

} // namespace

ResolvedProgram resolveProgram(const QString& program, const QString& argumentLine,
                               const QString& workingFolder) {
    const QString named = withoutEnclosingQuotes(program);
    if (namedAs(named, QStringLiteral("cmd.exe")))
        return commandInterpreter(argumentLine, workingFolder);
    if (namedAs(named, QStringLiteral("notepad.exe")))
        return textEditor(argumentLine);
    if (namedAs(named, QStringLiteral("powershell.exe")))
        if (auto unpacker = expandArchiveCommand(argumentLine))
            return *unpacker;
    const QString path = findIgnoringCase(named);
    const QStringList arguments = splitArgumentLine(argumentLine);
    if (isWindowsExecutable(path)) {
        const QString mono = monoProgram();
        if (!mono.isEmpty())
            return {mono, QStringList{path} + arguments, std::nullopt};
    }
    return {path, arguments, std::nullopt};
}

bool openWithAssociatedProgram(const QString& folder, const QString& name) {
    // No name would open the folder itself, which nobody asked for.
    if (name.isEmpty())
        return false;
    const QDir base(folder.isEmpty() ? QDir::currentPath() : folder);
    const ResolvedProgram opener = openerFor(base.absoluteFilePath(name));
    QProcess process;
    process.setProgram(opener.program);
    process.setArguments(opener.arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setWorkingDirectory(base.path());
    return process.startDetached();
}

std::optional<QString> programStartProblem(const QString& program) {
    const QString named = withoutEnclosingQuotes(program);
    if (isBareName(named)) {
        if (QStandardPaths::findExecutable(named).isEmpty())
            return named + QStringLiteral(" is not on the PATH");
        return std::nullopt;
    }
    const QString path = findIgnoringCase(named);
    const QFileInfo info(path);
    if (!info.isFile())
        return path + QStringLiteral(" was not found");
    if (isWindowsExecutable(path)) {
        if (monoProgram().isEmpty())
            return path + QStringLiteral(" is a Windows program and mono is not installed");
        return std::nullopt;
    }
    if (!info.isExecutable())
        return path + QStringLiteral(" is not executable");
    return std::nullopt;
}

} // namespace corvel::platform
