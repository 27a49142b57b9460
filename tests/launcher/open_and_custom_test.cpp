#include "launch_fixture.h"
#include "launcher/emulator_launch.h"
#include "platform/files.h"

#include <QDir>
#include <QFile>

using namespace corvel;
using corvel::test::LaunchFixture;

namespace {

class OpenAndCustom : public LaunchFixture {
protected:
    void SetUp() override {
        LaunchFixture::SetUp();
        useRecordingOpener();
    }
};

} // namespace

// Names a shell would read as commands still reach the opener as one argument, untouched.
TEST_F(OpenAndCustom, AnyFileNameOpensAsOneArgumentAndNeverRunsACommand) {
    const QString folder = startFolder() + QStringLiteral("odd/");
    const QStringList names = {
        QStringLiteral("two words.txt"),
        QStringLiteral("semi;touch pwned.txt"),
        QStringLiteral("amp&touch pwned.txt"),
        QStringLiteral("$(touch pwned).txt"),
        QStringLiteral("`touch pwned`.txt"),
        QStringLiteral("q\"; touch pwned; \".txt"),
        QStringLiteral("-n.txt"),
        QStringLiteral("it's.txt"),
    };
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        writeFile(QStringLiteral("odd/") + name, "x");
        removeRecord(QString::fromLatin1(OpenerRecord));
        openWithAssociation(m_state, folder, name);
        EXPECT_EQ(recordedArgs(QString::fromLatin1(OpenerRecord)), QStringList{folder + name});
    }
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("pwned")));
    EXPECT_FALSE(QFile::exists(startFolder() + QStringLiteral("pwned")));
    EXPECT_EQ(logLines().last(), QStringLiteral("HDF Monkey disk image tool by Matt Westcott"))
        << "opening a file logs nothing";
}

TEST_F(OpenAndCustom, CustomCommandRunsOnTheImageWithItsOutputInTheLog) {
    m_state.customCommand = QStringLiteral("cd / && echo first; echo second");
    m_state.window->setLaunchCustomVisible(true);
    const QString workingDir = platform::workingDirectory();
    clickButton(ControlId::LaunchCustomButton);
    const QStringList log = logLines();
    ASSERT_GE(log.size(), 2);
    EXPECT_EQ(log.mid(log.size() - 2),
              (QStringList{QStringLiteral("first"), QStringLiteral("second ") + imageFile()}));
    EXPECT_EQ(platform::workingDirectory(), workingDir);
    EXPECT_TRUE(launchLines().isEmpty());
}

// The image's path reaches the custom command as data: a file name that reads like shell code
// is printed as it stands and runs nothing.
TEST_F(OpenAndCustom, CustomCommandTakesTheImagePathAsData) {
    const QString hostile =
        startFolder() + QStringLiteral("img/x$(touch pwned)`touch pwned2`;.img");
    writeFile(QStringLiteral("img/x$(touch pwned)`touch pwned2`;.img"), "img");
    m_state.imagePath = u'"' + hostile + u'"';
    m_state.customCommand = QStringLiteral("printf '%s\\n'");
    launchCustom(m_state);
    EXPECT_EQ(logLines().last(), hostile);
    EXPECT_TRUE(QDir(platform::workingDirectory()).entryList({QStringLiteral("pwned*")}).isEmpty());
}

// "/c", two blanks and the quoted image: the interpreter opens the image like any file.
TEST_F(OpenAndCustom, EmptyCustomCommandStillRunsAndOpensTheImage) {
    m_state.customCommand.clear();
    launchCustom(m_state);
    EXPECT_EQ(recordedArgs(QString::fromLatin1(OpenerRecord)), QStringList{imageFile()});
    EXPECT_EQ(logLines().last(), QStringLiteral("stand-in done"));
}
