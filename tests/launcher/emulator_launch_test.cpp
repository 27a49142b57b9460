#include "launch_fixture.h"
#include "launcher/emulator_launch.h"
#include "platform/dialogs.h"
#include "ui/pc_explorer.h"

#include <QFile>
#include <QStandardPaths>
#include <QTest>

using namespace corvel;
using corvel::test::LaunchFixture;

namespace {

using EmulatorLaunch = LaunchFixture;

const QString BootArguments = QStringLiteral(" -r -basickeys -tv -zxnext -nextrom -brk -mmc=");

struct OptionCase {
    int screen, joystick, sound, vsync, hertz;
    const char* esc;
    const char* options;
};

// Settings may hold indices outside a combo's entries (screen 4 here): that combo then has no
// selection and the screen piece reads index -1.
const OptionCase OptionCases[] = {
    {1, 0, 0, 0, 0, "0", "-w2 "},         {0, 0, 0, 0, 0, "0", "-w1 "},
    {4, 0, 0, 0, 0, "0", "-w0 "},         {2, 1, 1, 1, 1, "1", "-w3  -joy -sound -vsync -60 -esc"},
    {1, 1, 0, 0, 0, "0", "-w2  -joy"},    {1, 0, 1, 0, 0, "", "-w2  -sound"},
    {1, 0, 0, 1, 0, "1 ", "-w2  -vsync"}, {1, 0, 0, 0, 1, "0", "-w2  -60"},
    {1, 0, 0, 0, 0, "1", "-w2  -esc"},
};

QStringList argvOf(const QString& line) {
    return line.split(u' ', Qt::SkipEmptyParts);
}

} // namespace

TEST_F(EmulatorLaunch, LaunchButtonComposesTheOptionsAndStartsTheEmulatorOnTheImage) {
    for (const OptionCase& c : OptionCases) {
        SCOPED_TRACE(c.options);
        MainWindowPort& w = *m_state.window;
        w.setComboIndex(ControlId::ScreenSizeCombo, c.screen);
        w.setComboIndex(ControlId::JoystickCombo, c.joystick);
        w.setComboIndex(ControlId::SoundCombo, c.sound);
        w.setComboIndex(ControlId::VsyncCombo, c.vsync);
        w.setComboIndex(ControlId::HertzCombo, c.hertz);
        m_state.escSetting = QString::fromLatin1(c.esc);
        removeRecord(QString::fromLatin1(EmulatorRecord));

        clickButton(ControlId::LaunchButton);

        const QString options = QString::fromLatin1(c.options);
        EXPECT_EQ(buildEmulatorOptions(m_state), options);
        ASSERT_FALSE(launchLines().isEmpty());
        EXPECT_EQ(launchLines().last(), QStringLiteral("Launching CSpect ") + options +
                                            BootArguments + m_state.imagePath);
        EXPECT_EQ(recordedArgs(QString::fromLatin1(EmulatorRecord)),
                  argvOf(options + BootArguments + imageFile()));
    }
}

TEST_F(EmulatorLaunch, ImagePathIsAppendedExactlyAsStored) {
    const QString bare = imageFile();
    for (const QString& stored : {u'"' + bare + u'"', bare}) {
        SCOPED_TRACE(stored.toStdString());
        m_state.imagePath = stored;
        removeRecord(QString::fromLatin1(EmulatorRecord));
        clickButton(ControlId::LaunchButton);
        EXPECT_EQ(launchLines().last(),
                  QStringLiteral("Launching CSpect -w2 ") + BootArguments + stored);
        const QStringList args = recordedArgs(QString::fromLatin1(EmulatorRecord));
        ASSERT_FALSE(args.isEmpty());
        EXPECT_EQ(args.last(), QStringLiteral("-mmc=") + bare);
    }
}

namespace {

// A folder of programs shown in the explorer; a double-click on a row is the user's.
class NexDoubleClick : public LaunchFixture {
protected:
    void SetUp() override {
        LaunchFixture::SetUp();
        for (const char* name : {"GAME.NEX", "demo.nex", "notes.txt"})
            writeFile(QStringLiteral("games/") + QString::fromLatin1(name), "x");
        m_state.window->setExplorerText(folder());
        useRecordingOpener();
    }

    QString folder() const { return startFolder() + QStringLiteral("games/"); }

    void doubleClick(const QString& name) {
        PcExplorer& explorer = *window().pcExplorer();
        int row = -1;
        for (int i = 0; i < explorer.entryCount(); ++i) {
            if (explorer.entryName(i) == name)
                row = i;
        }
        ASSERT_GE(row, 0) << name.toStdString();
        const QRect rect = explorer.visualRect(explorer.model()->index(row, 0));
        // A person's double-click presses first, which selects the row.
        QTest::mouseClick(explorer.viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(explorer.viewport(), Qt::LeftButton, {}, rect.center());
        dispatchPending();
    }
};

} // namespace

TEST_F(NexDoubleClick, NexFileInAnyLetterCaseRunsInTheEmulatorWithItsOutputLogged) {
    for (const QString& name : {QStringLiteral("GAME.NEX"), QStringLiteral("demo.nex")}) {
        SCOPED_TRACE(name.toStdString());
        removeRecord(QString::fromLatin1(EmulatorRecord));
        doubleClick(name);
        const QString path = folder() + name;
        const QString launching =
            QStringLiteral("Launching CSpect -w2  -brk -zxnext -mmc=./\"") + path + u'"';
        const QStringList log = logLines();
        const qsizetype at = log.lastIndexOf(launching);
        ASSERT_GE(at, 0);
        // The emulator has ended when the launch returns: its two lines follow the launch line.
        EXPECT_EQ(log.mid(at + 1, 2), (QStringList{QStringLiteral("stand-in started"),
                                                   QStringLiteral("stand-in done")}));
        EXPECT_EQ(recordedArgs(QString::fromLatin1(EmulatorRecord)),
                  (QStringList{QStringLiteral("-w2"), QStringLiteral("-brk"),
                               QStringLiteral("-zxnext"), QStringLiteral("-mmc=./") + path}));
    }
    EXPECT_FALSE(QFile::exists(startFolder() + QString::fromLatin1(OpenerRecord)));
}

TEST_F(NexDoubleClick, WithoutADiskImageDecliningTheDownloadStartsNothing) {
    m_state.imagePath.clear();
    platform::dialogs().clearShown();
    doubleClick(QStringLiteral("GAME.NEX"));
    const auto& shown = platform::dialogs().shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().kind, platform::DialogKind::YesNo);
    EXPECT_TRUE(launchLines().isEmpty());
    EXPECT_FALSE(QFile::exists(startFolder() + QString::fromLatin1(EmulatorRecord)));
}

TEST_F(NexDoubleClick, OtherFilesOpenWithTheDesktopProgram) {
    doubleClick(QStringLiteral("notes.txt"));
    EXPECT_EQ(recordedArgs(QString::fromLatin1(OpenerRecord)),
              QStringList{folder() + QStringLiteral("notes.txt")});
    EXPECT_TRUE(launchLines().isEmpty());
    EXPECT_FALSE(QFile::exists(startFolder() + QString::fromLatin1(EmulatorRecord)));
}

TEST_F(EmulatorLaunch, EmulatorFoundInAnyLetterCaseInItsFolder) {
    QFile::remove(m_state.cspectExe);
    writeRecorder(QStringLiteral("cspect/CSpect.exe"), QString::fromLatin1(EmulatorRecord));
    clickButton(ControlId::LaunchButton);
    EXPECT_FALSE(recordedArgs(QString::fromLatin1(EmulatorRecord)).isEmpty());
    EXPECT_EQ(logLines().last(), launchLines().last());
}

// When the emulator cannot run at all, one line after the launch line says why.
TEST_F(EmulatorLaunch, AnEmulatorThatCannotStartIsReportedAfterTheLaunchLine) {
    struct Case {
        QByteArray content;
        QFile::Permissions permissions;
        QString reason;
    };
    const QFile::Permissions readWrite = QFile::ReadOwner | QFile::WriteOwner;
    std::vector<Case> cases = {{"plain text\n", readWrite, QStringLiteral(" is not executable")}};
    if (QStandardPaths::findExecutable(QStringLiteral("mono")).isEmpty())
        cases.push_back({"MZ\x90\0", readWrite | QFile::ExeOwner,
                         QStringLiteral(" is a Windows program and mono is not installed")});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason.toStdString());
        writeFile(QStringLiteral("cspect/cspect.exe"), c.content);
        QFile::setPermissions(m_state.cspectExe, c.permissions);
        clickButton(ControlId::LaunchButton);
        const QStringList log = logLines();
        ASSERT_GE(log.size(), 2);
        EXPECT_TRUE(log[log.size() - 2].startsWith(QStringLiteral("Launching CSpect -w2  -r")));
        EXPECT_EQ(log.last(),
                  QStringLiteral("CSpect could not be started: ") + m_state.cspectExe + c.reason);
    }
}
