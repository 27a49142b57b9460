#include "core/settings.h"
#include "core/startup.h"
#include "platform/dialogs.h"
#include "support/app_fixture.h"

#include <csignal>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <sys/resource.h>

using namespace corvel;
using corvel::test::AppFixture;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a settings file should leave behind; a field a row leaves out keeps its start-up default.
struct ReadCase {
    const char* name;
    QByteArray file;
    const char* imagePath = "";
    const char* cspectZip = "CSpect2_15_01.zip";
    const char* esc = "0";
    const char* custom = "";
    int screen = 1, sound = 0, vsync = 0, hertz = 0, joy = 0;
    bool customVisible = false;
};

std::ostream& operator<<(std::ostream& out, const ReadCase& c) {
    return out << c.name;
}

const ReadCase ReadCases[] = {
    {.name = "AnyOrder",
     .file = "esc=1\r\nsound=1\r\nhdffile=\"/x/a.img\"\r\nscreensize=0\r\n",
     .imagePath = "\"/x/a.img\"",
     .esc = "1",
     .screen = 0,
     .sound = 1},
    {.name = "LaterLineWins", .file = "sound=1\nsound=0\njoy=1\n", .sound = 0, .joy = 1},
    {.name = "MissingKeysKeepDefaults",
     .file = "cspect=Other.zip\rnothing here\r",
     .cspectZip = "Other.zip"},
    {.name = "BlankBeforeKeyShiftsTheValue", .file = " sound=1\n", .sound = 0},
    {.name = "IntegerForms",
     .file = "sound=$1\nvsync=%10\njoy=abc\nhertz= \t+1\nscreensize=$2\n",
     .screen = 2,
     .sound = 1,
     .vsync = -1,
     .hertz = 1,
     .joy = 0},
    {.name = "OutOfRangeAndHugeLeaveNoSelection",
     .file = "screensize=4\nsound=-%1\nvsync=99999999999999999999\n",
     .screen = -1,
     .sound = -1,
     .vsync = -1},
    {.name = "CustomCutAtItsSecondEquals",
     .file = "custom=run a=b\n",
     .custom = "run a",
     .customVisible = true},
    {.name = "ValueHoldingAnEarlierKey", .file = "custom=echo sound=1\n", .sound = 0},
    {.name = "EmptyCustomStillShowsTheButton", .file = "custom=\n", .customVisible = true},
    {.name = "ByteOrderMarkSkipped",
     .file = "\xEF\xBB\xBFsound=1\r\nesc=1\r\n",
     .esc = "1",
     .sound = 1},
};

class SettingsRead : public AppFixture, public ::testing::WithParamInterface<ReadCase> {};

class Settings : public AppFixture {
protected:
    QString settingsPath() const { return startFolder() + QStringLiteral("zelt.cfg"); }
    void clickConfig() {
        static_cast<QPushButton*>(window().control(ControlId::ConfigButton))->click();
        dispatchPending();
    }
};

} // namespace

TEST_P(SettingsRead, ReadsEachLineByItsFirstKey) {
    const ReadCase& c = GetParam();
    writeFile(QStringLiteral("zelt.cfg"), c.file);
    start();
    const MainWindowPort& w = *m_state.window;
    EXPECT_EQ(m_state.imagePath, QString::fromUtf8(c.imagePath));
    EXPECT_EQ(m_state.cspectZip, QString::fromUtf8(c.cspectZip));
    EXPECT_EQ(m_state.escSetting, QString::fromUtf8(c.esc));
    EXPECT_EQ(m_state.customCommand, QString::fromUtf8(c.custom));
    EXPECT_EQ(w.comboIndex(ControlId::ScreenSizeCombo), c.screen);
    EXPECT_EQ(w.comboIndex(ControlId::SoundCombo), c.sound);
    EXPECT_EQ(w.comboIndex(ControlId::VsyncCombo), c.vsync);
    EXPECT_EQ(w.comboIndex(ControlId::HertzCombo), c.hertz);
    EXPECT_EQ(w.comboIndex(ControlId::JoystickCombo), c.joy);
    EXPECT_EQ(w.launchCustomVisible(), c.customVisible);
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsRead, ::testing::ValuesIn(ReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Settings, ExplorePathOpensTheFolder) {
    writeFile(QStringLiteral("sub/a.txt"), "a");
    writeFile(QStringLiteral("zelt.cfg"), "explorepath=" + startFolder().toUtf8() + "sub/\r\n");
    start();
    EXPECT_EQ(m_state.explorePath, startFolder() + QStringLiteral("sub/"));
    EXPECT_EQ(m_state.window->explorerFolder(), startFolder() + QStringLiteral("sub/"));
}

TEST_F(Settings, SavesTenCrLfLinesAndReadsThemBack) {
    start();
    MainWindowPort& w = *m_state.window;
    m_state.imagePath = QStringLiteral("\"/x/my \"disk\".img\"");
    m_state.customCommand = QStringLiteral("tool --go");
    m_state.escSetting = QStringLiteral("1");
    m_state.cspectZip = QStringLiteral("CSpect9.zip");
    w.setComboIndex(ControlId::ScreenSizeCombo, 7);
    w.setComboIndex(ControlId::SoundCombo, 1);
    w.setComboIndex(ControlId::JoystickCombo, 1);
    saveSettings(m_state);
    const QByteArray expected = "hdffile=\"/x/my \"disk\".img\"\r\n"
                                "explorepath=" +
                                startFolder().toUtf8() +
                                "\r\n"
                                "screensize=-1\r\nsound=1\r\nvsync=0\r\nhertz=0\r\njoy=1\r\n"
                                "cspect=CSpect9.zip\r\ncustom=tool --go\r\nesc=1\r\n";
    EXPECT_EQ(readAll(settingsPath()), expected);

    m_state.imagePath.clear();
    m_state.customCommand.clear();
    w.setComboIndex(ControlId::SoundCombo, 0);
    loadSettings(m_state);
    EXPECT_EQ(m_state.imagePath, QStringLiteral("\"/x/my \"disk\".img\""));
    EXPECT_EQ(m_state.customCommand, QStringLiteral("tool --go"));
    EXPECT_EQ(w.comboIndex(ControlId::SoundCombo), 1);
    EXPECT_EQ(w.comboIndex(ControlId::ScreenSizeCombo), -1);
    EXPECT_TRUE(w.launchCustomVisible());
}

TEST_F(Settings, ClosingTheWindowWritesTheFile) {
    start();
    m_state.window->setComboIndex(ControlId::HertzCombo, 1);
    window().close();
    runMainLoop(m_state);
    shutDown(m_state);
    EXPECT_TRUE(readAll(settingsPath()).contains("\r\nhertz=1\r\n"));
}

// A write that fails part-way (here: the file-size limit) must leave the old file whole and no
// temporary file behind.
TEST_F(Settings, FailedSaveLeavesThePreviousFileWhole) {
    const QByteArray previous = "sound=1\r\nesc=1\r\ncustom=keep me\r\n";
    writeFile(QStringLiteral("zelt.cfg"), previous);
    start();
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    saveSettings(m_state);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(readAll(settingsPath()), previous);
    EXPECT_EQ(QDir(startFolder()).entryList({QStringLiteral("zelt.cfg*")}, QDir::Files),
              QStringList{QStringLiteral("zelt.cfg")});
}

// The outside editor removes the "custom=" line and changes a combo: the reload applies what is
// there and hides the button, while the command itself stays for the next save.
TEST_F(Settings, ConfigButtonSavesEditsInTheOutsideEditorAndReloads) {
    writeFile(QStringLiteral("zelt.cfg"), "custom=make it\r\n");
    const QString editor = writeFile(QStringLiteral("edit.sh"),
                                     "#!/bin/sh\nsed -i -e 's/^sound=0/sound=1/' -e '/^custom=/d' "
                                     "-e 's/^hdffile=.*/hdffile=other.img/' \"$1\"\n");
    QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    start();
    ASSERT_TRUE(m_state.window->launchCustomVisible());
    qputenv("VISUAL", editor.toUtf8());
    clickConfig();
    qunsetenv("VISUAL");
    EXPECT_EQ(m_state.window->comboIndex(ControlId::SoundCombo), 1);
    EXPECT_FALSE(m_state.window->launchCustomVisible());
    EXPECT_EQ(m_state.customCommand, QStringLiteral("make it"));
    EXPECT_EQ(m_state.imagePath, QStringLiteral("other.img"));
    EXPECT_EQ(m_state.window->imagePathText(), QString()) << "the field keeps its earlier text";
    saveSettings(m_state);
    EXPECT_TRUE(readAll(settingsPath()).contains("\r\ncustom=make it\r\n"));
}

// Without an outside editor the built-in one opens modally on the file; a person edits, saves
// and closes it, and only then are the settings read back.
TEST_F(Settings, ConfigButtonWithTheBuiltInEditor) {
    qunsetenv("VISUAL");
    start();
    QString title;
    bool modal = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* editor = QApplication::activeModalWidget();
        if (editor == nullptr || editor->objectName() != QStringLiteral("textEditor"))
            return;
        poll.stop();
        title = editor->windowTitle();
        modal = editor->windowModality() == Qt::ApplicationModal;
        auto* text = editor->findChild<QPlainTextEdit*>(QStringLiteral("textEditorText"));
        text->setPlainText(
            text->toPlainText().replace(QStringLiteral("esc=0"), QStringLiteral("esc=1")));
        editor->findChild<QPushButton*>(QStringLiteral("textEditorSave"))->click();
        // A second edit, typed and left unsaved: closing asks, and the answer Yes saves it.
        const QString edited =
            text->toPlainText().replace(QStringLiteral("sound=0"), QStringLiteral("sound=1"));
        text->selectAll();
        text->insertPlainText(edited);
        platform::DialogAnswer yes;
        yes.yes = true;
        platform::dialogs().queueAnswer(yes);
        editor->findChild<QPushButton*>(QStringLiteral("textEditorClose"))->click();
    });
    poll.start(10);
    clickConfig();
    EXPECT_EQ(title, settingsPath());
    EXPECT_TRUE(modal);
    EXPECT_EQ(m_state.escSetting, QStringLiteral("1"));
    EXPECT_EQ(m_state.window->comboIndex(ControlId::SoundCombo), 1);
    const QByteArray saved = readAll(settingsPath());
    EXPECT_TRUE(saved.endsWith("\r\nesc=1\r\n"));
    EXPECT_EQ(saved.count("\r\n"), 10);
}
