#include "image_fixture.h"
#include "imagetool/image_browser.h"
#include "platform/dialogs.h"
#include "ui/image_list.h"
#include "ui/pc_explorer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

using namespace corvel;

namespace {

class FileOperations : public test::ImageFixture {
protected:
    void SetUp() override {
        ImageFixture::SetUp();
        makeImage();
        makeImageFolder(QStringLiteral("/GAMES"));
        putText(QStringLiteral("/GAME.BAS"), "10 PRINT 1\n");
        putText(QStringLiteral("/Long name with blanks.txt"), "long");
        putText(QStringLiteral("/GAMES/Überspiel.nex"), "nex!");
        refreshImageListing(m_state);
        m_pcFolder = startFolder() + QStringLiteral("pc/");
        QDir().mkpath(m_pcFolder);
        window().setExplorerText(m_pcFolder);
    }
    void click(ControlId button) {
        QTest::mouseClick(static_cast<QPushButton*>(window().control(button)), Qt::LeftButton);
        dispatchPending();
    }
    void menu(int number) {
        m_state.events.post(menuEvent(number));
        dispatchPending();
    }
    QString pcFile(const QString& name, const QByteArray& bytes) {
        return writeFile(QStringLiteral("pc/") + name, bytes);
    }
    QByteArray pcBytes(const QString& name) const {
        QFile file(m_pcFolder + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Points TEMP at a fresh folder and the desktop opener at a stand-in that records its
    // arguments; the record is written beside its place and renamed, so it is never read half
    // written. Returns the temporary folder.
    QString useRecordingOpener() {
        const QString temp = startFolder() + QStringLiteral("temp");
        QDir().mkpath(temp);
        const QString opener = writeScript(QStringLiteral("opener.sh"),
                                           "printf '%s\\n' \"$@\" > \"$0.tmp\"; mv \"$0.tmp\" \"" +
                                               openerRecord().toUtf8() + "\"\n");
        qputenv("TEMP", temp.toUtf8());
        qputenv("CORVEL_OPENER", opener.toUtf8());
        return temp;
    }
    QString openerRecord() const { return startFolder() + QStringLiteral("opened"); }

    void answerYesNo(bool yes) {
        platform::dialogs().clearShown();
        platform::dialogs().queueAnswer({yes, {}, {}});
    }

    QString m_pcFolder;
};

} // namespace

TEST_F(FileOperations, DeleteAsksFirstAndRemovesEverySelectedRowAfterYes) {
    selectRows({rowOf(QStringLiteral("GAME.BAS"))});
    answerYesNo(false);
    click(ControlId::DeleteFilesButton);
    ASSERT_EQ(platform::dialogs().shown().size(), 1u);
    EXPECT_EQ(platform::dialogs().shown()[0].title, QStringLiteral("Confirm"));
    EXPECT_EQ(platform::dialogs().shown()[0].text, QStringLiteral("Really delete GAME.BAS?"));
    EXPECT_EQ(imageListing().size(), 3) << "No sends nothing";

    // A folder with contents, a long name and a file, through the context menu's entry.
    selectRows({rowOf(QStringLiteral("GAMES")), rowOf(QStringLiteral("GAME.BAS")),
                rowOf(QStringLiteral("Long name with blanks.txt"))});
    answerYesNo(true);
    const int logged = static_cast<int>(newLogLines().size());
    menu(303);
    EXPECT_EQ(platform::dialogs().shown()[0].text, QStringLiteral("Delete multiple files?"));
    QStringList deleting = newLogLines().mid(logged);
    deleting.sort();
    EXPECT_EQ(deleting,
              (QStringList{QStringLiteral("Deleting /GAME.BAS"), QStringLiteral("Deleting /GAMES"),
                           QStringLiteral("Deleting /Long name with blanks.txt")}));
    EXPECT_EQ(imageListing(), QStringList());
    EXPECT_EQ(window().imageRowCount(), 0);

    platform::dialogs().clearShown();
    click(ControlId::DeleteFilesButton);
    EXPECT_TRUE(platform::dialogs().shown().empty()) << "nothing selected: nothing asked";
}

TEST_F(FileOperations, DeleteInsideAFolderUsesItsPath) {
    m_state.imageDir = QStringLiteral("/GAMES");
    refreshImageListing(m_state);
    selectRows({rowOf(QStringLiteral("Überspiel.nex"))});
    answerYesNo(true);
    click(ControlId::DeleteFilesButton);
    EXPECT_EQ(newLogLines().last(), QStringLiteral("Deleting /GAMES/Überspiel.nex"));
    EXPECT_EQ(imageListing(QStringLiteral("/GAMES")), QStringList());
    EXPECT_EQ(rows(), QStringList{QStringLiteral("[Up Directory] ..||")});
}

TEST_F(FileOperations, CopyToImageSendsEverySelectedItemAndSkipsQuotedNames) {
    pcFile(QStringLiteral("prog.bas"), "10 REM\n");
    pcFile(QStringLiteral("a much longer name.nex"), "NEX");
    pcFile(QStringLiteral("Ärger.txt"), "umlaut");
    pcFile(QStringLiteral("say \"hi\".txt"), "quoted");
    pcFile(QStringLiteral("folder/inner.txt"), "inner");
    window().setExplorerText(m_pcFolder);
    m_state.imageDir = QStringLiteral("/GAMES");
    refreshImageListing(m_state);
    selectExplorerEntries({QStringLiteral("prog.bas"), QStringLiteral("a much longer name.nex"),
                           QStringLiteral("Ärger.txt"), QStringLiteral("say \"hi\".txt"),
                           QStringLiteral("folder"), QStringLiteral("..")});
    const int logged = static_cast<int>(newLogLines().size());
    click(ControlId::CopyToImageButton);

    QStringList lines = newLogLines().mid(logged);
    lines.sort();
    EXPECT_EQ(lines, (QStringList{QStringLiteral("Copying a much longer name.nex to /GAMES/a much "
                                                 "longer name.nex"),
                                  QStringLiteral("Copying folder to /GAMES/folder"),
                                  QStringLiteral("Copying prog.bas to /GAMES/prog.bas"),
                                  QStringLiteral("Copying Ärger.txt to /GAMES/Ärger.txt"),
                                  QStringLiteral("Skipped ") + m_pcFolder +
                                      QStringLiteral("say \"hi\".txt: a name with a double quote "
                                                     "cannot be passed to the image tool")}));
    EXPECT_EQ(imageFileBytes(QStringLiteral("/GAMES/a much longer name.nex")), "NEX");
    EXPECT_EQ(imageFileBytes(QStringLiteral("/GAMES/Ärger.txt")), "umlaut");
    EXPECT_EQ(imageFileBytes(QStringLiteral("/GAMES/folder/inner.txt")), "inner");
    EXPECT_EQ(imageListing(QStringLiteral("/GAMES")).size(), 5) << "the parent entry is not sent";
    EXPECT_NE(rowOf(QStringLiteral("prog.bas")), -1) << "the list shows what arrived";
}

TEST_F(FileOperations, CopyToImageAtTheRootUsesTheBareName) {
    pcFile(QStringLiteral("top.bas"), "T");
    window().setExplorerText(m_pcFolder);
    selectExplorerEntries({QStringLiteral("top.bas")});
    click(ControlId::CopyToImageButton);
    EXPECT_EQ(newLogLines().last(), QStringLiteral("Copying top.bas to top.bas"));
    EXPECT_EQ(imageFileBytes(QStringLiteral("/top.bas")), "T");
    EXPECT_NE(rowOf(QStringLiteral("top.bas")), -1);
}

TEST_F(FileOperations, CopyToPcTakesOnlyTheFirstSelectedRow) {
    selectRows(
        {rowOf(QStringLiteral("Long name with blanks.txt")), rowOf(QStringLiteral("GAME.BAS"))});
    const int first = std::min(rowOf(QStringLiteral("Long name with blanks.txt")),
                               rowOf(QStringLiteral("GAME.BAS")));
    const QString name = window().imageCell(first, 1);
    const QString other = name == QStringLiteral("GAME.BAS")
                              ? QStringLiteral("Long name with blanks.txt")
                              : QStringLiteral("GAME.BAS");
    click(ControlId::CopyToPcButton);
    EXPECT_EQ(newLogLines().last(),
              QStringLiteral("Copying ") + name + QStringLiteral(" to ") + m_pcFolder);
    EXPECT_NE(pcBytes(name), "<missing>");
    EXPECT_EQ(pcBytes(other), "<missing>");

    // Inside a folder, a non-ASCII name; with no row selected nothing is logged or sent.
    m_state.imageDir = QStringLiteral("/GAMES");
    refreshImageListing(m_state);
    selectRows({rowOf(QStringLiteral("Überspiel.nex"))});
    click(ControlId::CopyToPcButton);
    EXPECT_EQ(newLogLines().last(),
              QStringLiteral("Copying /GAMES/Überspiel.nex to ") + m_pcFolder);
    EXPECT_EQ(pcBytes(QStringLiteral("Überspiel.nex")), "nex!");
    window().imageList()->clearSelection();
    const int logged = static_cast<int>(newLogLines().size());
    click(ControlId::CopyToPcButton);
    EXPECT_EQ(newLogLines().size(), logged);
}

TEST_F(FileOperations, NewFolderUsesTheCleanedNameAndNothingForAnEmptyOne) {
    platform::dialogs().clearShown();
    platform::dialogs().queueAnswer({false, QStringLiteral("my game.bas"), {}});
    click(ControlId::NewFolderButton);
    ASSERT_EQ(platform::dialogs().shown().size(), 1u);
    EXPECT_EQ(platform::dialogs().shown()[0].title, QStringLiteral("Create new folder"));
    EXPECT_EQ(newLogLines().last(), QStringLiteral("Creating /my_gamebas"));
    EXPECT_EQ(rows().first(), QStringLiteral("GAMES|DIR|"));
    EXPECT_EQ(window().imageCell(rowOf(QStringLiteral("my_gamebas")), 2), QStringLiteral("DIR"));

    const QStringList before = imageListing();
    const int logged = static_cast<int>(newLogLines().size());
    platform::dialogs().queueAnswer({false, QStringLiteral("..??*"), {}});
    click(ControlId::NewFolderButton);
    click(ControlId::NewFolderButton); // cancelled
    EXPECT_EQ(newLogLines().size(), logged);
    EXPECT_EQ(imageListing(), before);
}

TEST_F(FileOperations, ViewCopiesTheFileToTheTemporaryFolderAndOpensItThere) {
    const QString temp = useRecordingOpener();
    const QString record = openerRecord();
    selectRows({rowOf(QStringLiteral("GAMES"))});
    menu(300);
    EXPECT_FALSE(QFile::exists(temp + QStringLiteral("/GAMES")));
    window().imageList()->clearSelection();
    menu(300);
    selectRows({rowOf(QStringLiteral("Long name with blanks.txt"))});
    menu(301);
    QFile copied(temp + QStringLiteral("/Long name with blanks.txt"));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), "long");
    for (int i = 0; i < 100 && !QFile::exists(record); ++i)
        QTest::qWait(50);
    QFile opened(record);
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly)) << "the copy is handed to the opener";
    EXPECT_EQ(QString::fromUtf8(opened.readAll()).trimmed(),
              QFileInfo(temp + QStringLiteral("/Long name with blanks.txt")).absoluteFilePath());
    EXPECT_EQ(QDir(temp).entryList(QDir::Files).size(), 1) << "a directory or no row: nothing";
    qunsetenv("CORVEL_OPENER");
    qunsetenv("TEMP");

    // Without TEMP the copy goes to the system's temporary folder, never to the file system's
    // root.
    const QString systemTemp = startFolder() + QStringLiteral("systemp");
    QDir().mkpath(systemTemp);
    const QByteArray previousTmpDir = qgetenv("TMPDIR");
    qputenv("TMPDIR", systemTemp.toUtf8());
    qputenv("CORVEL_OPENER", QByteArrayLiteral("true"));
    menu(301);
    EXPECT_TRUE(QFile::exists(systemTemp + QStringLiteral("/Long name with blanks.txt")));
    qunsetenv("CORVEL_OPENER");
    if (previousTmpDir.isEmpty())
        qunsetenv("TMPDIR");
    else
        qputenv("TMPDIR", previousTmpDir);
}

// A name from inside an image is never handed to a command interpreter, not even when its copy
// failed and the opener is asked for a file that is not there.
TEST_F(FileOperations, ViewNeverRunsAnEntryNameAsACommand) {
    const QString hostile = QStringLiteral("x$(touch pwned);touch pwned2.txt");
    putText(u'/' + hostile, "boom");
    refreshImageListing(m_state);
    const int row = rowOf(hostile);
    ASSERT_GE(row, 0);
    tool({QStringLiteral("rm"), imageFile(), u'/' + hostile}); // the copy will now fail
    const QString temp = useRecordingOpener();
    const QString record = openerRecord();
    selectRows({row});
    menu(301);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(record); }, 5000));
    qunsetenv("CORVEL_OPENER");
    qunsetenv("TEMP");
    QFile opened(record);
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(opened.readAll()).trimmed(), temp + u'/' + hostile);
    for (const QString& folder : {temp, startFolder(), QDir::currentPath()})
        EXPECT_TRUE(QDir(folder).entryList({QStringLiteral("pwned*")}).isEmpty())
            << folder.toStdString();
}
