#include "platform/program_resolution.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using corvel::platform::resolveProgram;

namespace {

// The names the rest of the program composes for outside programs, and what actually starts.
TEST(ProgramResolution, InterpreterAndEditorStandIns) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + u'/';
    QFile file(folder + QStringLiteral("a b.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    qunsetenv("CORVEL_OPENER");

    struct Case {
        QString program, line, workingFolder, expectProgram;
        QStringList expectArgs;
    };
    const Case cases[] = {
        {QStringLiteral("cmd.exe"),
         QStringLiteral("/c echo hi \"x y\""),
         QString(),
         QStringLiteral("/bin/sh"),
         {QStringLiteral("-c"), QStringLiteral("echo hi \"$1\""), QStringLiteral("sh"),
          QStringLiteral("x y")}},
        {QStringLiteral("cmd.exe"),
         QStringLiteral("/c echo hi x\"y\" "),
         QString(),
         QStringLiteral("/bin/sh"),
         {QStringLiteral("-c"), QStringLiteral("echo hi x\"y\" ")}},
        {QStringLiteral("CMD.EXE"),
         QStringLiteral("/c \"missing.txt\""),
         folder,
         QStringLiteral("/bin/sh"),
         {QStringLiteral("-c"), QStringLiteral("\"$1\""), QStringLiteral("sh"),
          QStringLiteral("missing.txt")}},
        {QStringLiteral("cmd.exe"),
         QStringLiteral("/c \"a b.txt\""),
         folder,
         QStringLiteral("xdg-open"),
         {folder + QStringLiteral("a b.txt")}},
        {QStringLiteral("cmd.exe"),
         QStringLiteral("/c  \"") + folder + QStringLiteral("a b.txt\""),
         QString(),
         QStringLiteral("xdg-open"),
         {folder + QStringLiteral("a b.txt")}},
        {QStringLiteral("/bin/echo"),
         QStringLiteral("-n \"a b\" c\\d"),
         QString(),
         QStringLiteral("/bin/echo"),
         {QStringLiteral("-n"), QStringLiteral("a b"), QStringLiteral("c\\d")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.program + u' ' + c.line).toStdString());
        const auto r = resolveProgram(c.program, c.line, c.workingFolder);
        EXPECT_EQ(r.program, c.expectProgram);
        EXPECT_EQ(r.arguments, c.expectArgs);
        EXPECT_FALSE(r.editFile);
    }
}

TEST(ProgramResolution, EditorTakesTheWholeLineAsOneFile) {
    const QString file = QStringLiteral("/start folder/zelt.cfg");
    qputenv("VISUAL", "ed -s");
    auto r = resolveProgram(QStringLiteral("notepad.exe"), file, QString());
    EXPECT_EQ(r.program, QStringLiteral("ed"));
    EXPECT_EQ(r.arguments, (QStringList{QStringLiteral("-s"), file}));
    qunsetenv("VISUAL");
    r = resolveProgram(QStringLiteral("notepad.exe"), file, QString());
    EXPECT_EQ(r.editFile, file);
}

} // namespace
