#include "image_fixture.h"
#include "imagetool/tool_runner.h"

#include <csignal>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

using namespace corvel;

namespace {

class ToolRunner : public test::ImageFixture {
protected:
    QStringList loggedBy(const QByteArray& script) {
        const int before = static_cast<int>(newLogLines().size());
        const QString path = writeScript(QStringLiteral("out.sh"), script);
        EXPECT_EQ(runTool(m_state, path, QString(), Logged, QString()), 0);
        return newLogLines().mid(before);
    }
};

} // namespace

TEST_F(ToolRunner, LoggedModeReadsWholeLinesWhateverPiecesTheyArriveIn) {
    // Partial lines, CRs anywhere, UTF-8, and a single byte left when the child ends.
    EXPECT_EQ(loggedBy("printf 'ab'; sleep 0.2; printf 'c\\nde'; sleep 0.2; printf 'f\\n'\n"),
              (QStringList{QStringLiteral("abc"), QStringLiteral("def")}));
    EXPECT_EQ(loggedBy("printf 'a\\rb\\r\\nc\\r\\n\\r'\n"),
              (QStringList{QStringLiteral("ab"), QStringLiteral("c")}));
    EXPECT_EQ(loggedBy("printf 'line\\nx'\n"),
              (QStringList{QStringLiteral("line"), QStringLiteral("x")}));
    EXPECT_EQ(loggedBy("printf 'x'\n"), (QStringList{QStringLiteral("x")}));
    EXPECT_EQ(loggedBy("printf 'Gr\\303\\274\\303\\237e \\342\\202\\254\\n'\n"),
              (QStringList{QStringLiteral("Grüße €")}));
    EXPECT_EQ(loggedBy("exit 0\n"), QStringList());
}

TEST_F(ToolRunner, ArgumentLineIsSplitWithoutAShellAndTheExitCodeComesBack) {
    const QString path =
        writeScript(QStringLiteral("args.sh"), "for a in \"$@\"; do echo \"<$a>\"; done\nexit 3\n");
    const int before = static_cast<int>(newLogLines().size());
    EXPECT_EQ(runTool(m_state, path, QStringLiteral("ls \"a  b\" \"\" $HOME;x back\\slash"), Logged,
                      QString()),
              3);
    EXPECT_EQ(newLogLines().mid(before),
              (QStringList{QStringLiteral("<ls>"), QStringLiteral("<a  b>"), QStringLiteral("<>"),
                           QStringLiteral("<$HOME;x>"), QStringLiteral("<back\\slash>")}));
}

TEST_F(ToolRunner, WorkingFolderIsTheGivenOneOrTheCurrentOne) {
    const QString path = writeScript(QStringLiteral("pwd.sh"), "pwd -P\n");
    QDir().mkpath(startFolder() + QStringLiteral("sub"));
    const QString sub = QDir(startFolder() + QStringLiteral("sub")).canonicalPath();
    runTool(m_state, path, QString(), Logged, sub);
    runTool(m_state, path, QString(), Logged, QString());
    const QStringList lines = newLogLines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[lines.size() - 2], sub);
    EXPECT_EQ(lines.last(), QDir::current().canonicalPath());
}

TEST_F(ToolRunner, ListingModePreparesTheListAndParsesEveryLine) {
    const QString path =
        writeScript(QStringLiteral("ls.sh"), "printf '5\\tA.BAS\\r\\n[DIR]\\tSUB\\nError x'\n");
    window().appendImageRow({QString(), QStringLiteral("stale")});
    EXPECT_EQ(runTool(m_state, path, QString(), Listing, QString()), 0);
    EXPECT_EQ(window().imageRowCount(), 0);
    ASSERT_EQ(m_state.entries.size(), 3u);
    EXPECT_EQ(m_state.entries[0].name, QStringLiteral("A.BAS"));
    EXPECT_EQ(m_state.entries[0].size, QStringLiteral("5"));
    EXPECT_EQ(m_state.entries[1].kind, QStringLiteral("DIR"));
    EXPECT_EQ(m_state.entries[2].size, QStringLiteral("Error x"));

    m_state.entries.clear();
    m_state.imageDir = QStringLiteral("/GAMES");
    EXPECT_EQ(
        runTool(m_state, startFolder() + QStringLiteral("missing"), QString(), Listing, QString()),
        ToolNotStarted);
    EXPECT_EQ(rows(), QStringList{QStringLiteral("[Up Directory] ..||")});
    EXPECT_TRUE(m_state.entries.empty());
}

TEST_F(ToolRunner, ModesThatStartNothingOrDoNotCapture) {
    const QString marker = startFolder() + QStringLiteral("marker");
    const QString path = writeScript(QStringLiteral("mark.sh"), "sleep 0.3; echo done > \"$1\"\n");
    window().appendImageRow({QString(), QStringLiteral("kept")});
    EXPECT_EQ(runTool(m_state, path, marker, 7, QString()), ToolNotStarted);
    EXPECT_EQ(runTool(m_state, path, marker, -1, QString()), ToolNotStarted);
    EXPECT_FALSE(QFile::exists(marker));
    EXPECT_EQ(window().imageRowCount(), 1);

    EXPECT_EQ(runTool(m_state, path, marker, WaitVisible, QString()), 0);
    EXPECT_TRUE(QFile::exists(marker)) << "mode 3 returns only after the child ended";
    EXPECT_EQ(runTool(m_state, startFolder() + QStringLiteral("missing"), QString(), WaitVisible,
                      QString()),
              0);
    EXPECT_EQ(
        runTool(m_state, startFolder() + QStringLiteral("missing"), QString(), Quiet, QString()),
        ToolNotStarted);
}

TEST_F(ToolRunner, DetachedChildNeverStallsOnItsOutput) {
    // The child writes without end and never exits; the call returns at once and the child's
    // standard output leads nowhere, so it keeps running instead of blocking on a pipe.
    const QString pidFile = startFolder() + QStringLiteral("pid");
    const QString path = writeScript(QStringLiteral("chatty.sh"),
                                     "echo $$ > \"$1.tmp\"; mv \"$1.tmp\" \"$1\"; exec yes\n");
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(runTool(m_state, path, pidFile, Detached, QString()), ToolNotStarted);
    EXPECT_LT(timer.elapsed(), 5000);
    for (int i = 0; i < 100 && !QFile::exists(pidFile); ++i)
        QThread::msleep(50);
    QFile file(pidFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const pid_t pid = file.readAll().trimmed().toInt();
    ASSERT_GT(pid, 0);
    QThread::msleep(300);
    const QString out = QFile::symLinkTarget(QStringLiteral("/proc/%1/fd/1").arg(pid));
    EXPECT_EQ(out, QStringLiteral("/dev/null"));
    EXPECT_EQ(::kill(pid, 0), 0) << "still running";
    ::kill(pid, SIGKILL);
}

TEST_F(ToolRunner, ClicksDuringARunAreDroppedAndNeverDispatched) {
    const QString path = writeScript(QStringLiteral("slow.sh"), "sleep 0.5; echo late\n");
    auto* target = static_cast<QPushButton*>(window().control(ControlId::CopyToImageButton));
    bool clicked = false;
    QTimer::singleShot(100, target, [&] {
        QTest::mouseClick(target, Qt::LeftButton);
        clicked = true;
    });
    EXPECT_EQ(runTool(m_state, path, QString(), Quiet, QString()), 0);
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(m_state.events.empty());
}
