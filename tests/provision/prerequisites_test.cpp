#include "loopback_server.h"
#include "platform/choice_dialog.h"
#include "platform/dialogs.h"
#include "provision/prerequisites.h"
#include "support/app_fixture.h"
#include "ui/operations.h"
#include "ui/status_bar.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace corvel;

namespace {

const QByteArray kStandIn = "#!/bin/sh\necho stand-in\n";

class Prerequisites : public test::AppFixture {
protected:
    static void SetUpTestSuite() {
        s_server = new test::LoopbackServer;
        const auto& srv = *s_server;
        srv.serve(QStringLiteral("files/cspectversion.txt"), "2.19.4.4\r\nsecond line\r\n");
        srv.serve(QStringLiteral("files/unknown-version.txt"), "9.9\n");
        srv.serve(QStringLiteral("files/hostile-version.txt"), "/../../../tmp/x.1\n");
        test::makeZip(srv.root() + QStringLiteral("raw/main/cspect/CSpect2_19_4_4.zip"),
                      {{QStringLiteral("CSpect.exe"), kStandIn}});
        test::makeZip(srv.root() + QStringLiteral("raw/main/cspect/CSpect2_15_01.zip"),
                      {{QStringLiteral("readme.txt"), "no emulator here"}});
        srv.serve(QStringLiteral("raw/master/build/hdfmonkey.exe"), kStandIn);
        const QByteArray image = test::makeFatImage(1024);
        test::makeZip(srv.root() + QStringLiteral("cspect/cspect-next-2gb.zip"),
                      {{QStringLiteral("cspect-next-2gb.img"), image}});
        test::makeZip(srv.root() + QStringLiteral("cspect/cspect-next-4gb.zip"),
                      {{QStringLiteral("other.img"), image}});
    }
    static void TearDownTestSuite() {
        delete s_server;
        s_server = nullptr;
    }
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_TRUE(s_server->running());
        pointAt(QStringLiteral("files/cspectversion.txt"),
                QStringLiteral("raw/master/build/hdfmonkey.exe"));
    }
    void TearDown() override {
        for (const char* name : {"CORVEL_VERSION_URL", "CORVEL_EMULATOR_BASE_URL",
                                 "CORVEL_IMAGETOOL_URL", "CORVEL_IMAGE_BASE_URL"})
            qunsetenv(name);
        AppFixture::TearDown();
    }
    static void pointAt(const QString& versionPath, const QString& toolPath) {
        qputenv("CORVEL_VERSION_URL", s_server->url(versionPath).toUtf8());
        qputenv("CORVEL_EMULATOR_BASE_URL",
                s_server->url(QStringLiteral("raw/main/cspect/")).toUtf8());
        qputenv("CORVEL_IMAGETOOL_URL", s_server->url(toolPath).toUtf8());
        qputenv("CORVEL_IMAGE_BASE_URL", s_server->url(QStringLiteral("cspect/")).toUtf8());
    }
    void emptyStartFolder() const {
        const QDir folder(startFolder());
        for (const QFileInfo& entry :
             folder.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
            if (entry.isDir())
                QDir(entry.filePath()).removeRecursively();
            else
                QFile::remove(entry.filePath());
        }
    }
    static QString url(const char* path) { return s_server->url(QString::fromLatin1(path)); }

    static test::LoopbackServer* s_server;
};

test::LoopbackServer* Prerequisites::s_server = nullptr;

struct Scenario {
    const char* name;
    bool emulator;
    bool tool;
    bool image;
    std::vector<bool> answers; // to the Yes/No questions, in order
    std::vector<int> tick;     // rows ticked in the size dialog; empty cancels it
    const char* versionPath;
    const char* toolPath;
    int result;
    int flag;
    QStringList logs;    // each appears, in this order
    QStringList present; // below the start folder after the run
    QStringList absent;
    QString status; // the message field at the end
};

// Every path through the emulator (A), tool (B) and disk-image (C) checks and the cleanup (D).
TEST_F(Prerequisites, EveryPathThroughTheChecks) {
    const char* version = "files/cspectversion.txt";
    const char* tool = "raw/master/build/hdfmonkey.exe";
    const QString emu = url("raw/main/cspect/");
    const QString img = url("cspect/");
    const QStringList emulatorLost = {
        QStringLiteral("Unable to find CSpect.exe in current directory!!"),
        QStringLiteral("Please make sure this program to your CSpect folder.")};
    const Scenario scenarios[] = {
        {"all present",
         true,
         true,
         true,
         {},
         {},
         version,
         tool,
         0,
         0,
         {},
         {},
         {QStringLiteral("CSpect2_15_01.zip")},
         QStringLiteral("Waiting")},
        {"emulator fetched and unpacked",
         false,
         true,
         true,
         {true},
         {},
         version,
         tool,
         0,
         0,
         {QStringLiteral("Grabbing version ") + url(version),
          QStringLiteral("Version : CSpect2_19_4_4.zip"),
          QStringLiteral("Downloading ") + emu + QStringLiteral("CSpect2_19_4_4.zip"),
          QStringLiteral("Downloaded CSpect2_19_4_4.zip"),
          QStringLiteral("Extracting CSpect2_19_4_4.zip To current directory...")},
         {QStringLiteral("cspect/CSpect.exe")},
         {},
         QStringLiteral("Done")},
        {"emulator declined, tool present clears the flag",
         false,
         true,
         true,
         {false},
         {},
         version,
         tool,
         0,
         0,
         {},
         {},
         {QStringLiteral("cspect")},
         QStringLiteral("Waiting")},
        {"no version file: default archive, which lacks the emulator",
         false,
         false,
         true,
         {true, false},
         {},
         "files/none.txt",
         tool,
         0,
         1,
         {QStringLiteral("Version : CSpect2_15_01.zip"),
          QStringLiteral("Downloaded CSpect2_15_01.zip"),
          QStringLiteral("Extracting CSpect2_15_01.zip failed: ") + startFolder() +
              QStringLiteral("cspect/cspect.exe is still missing")},
         {QStringLiteral("CSpect2_15_01.zip")},
         {QStringLiteral("cspect/cspect.exe")},
         QStringLiteral("Extract error!")},
        {"a version naming a path: default archive, nothing written outside",
         false,
         false,
         true,
         {true, false},
         {},
         "files/hostile-version.txt",
         tool,
         0,
         1,
         {QStringLiteral("Version : CSpect2_15_01.zip"),
          QStringLiteral("Downloaded CSpect2_15_01.zip")},
         {QStringLiteral("CSpect2_15_01.zip")},
         {QStringLiteral("cspect/cspect.exe")},
         QStringLiteral("Extract error!")},
        {"emulator archive missing on the server",
         false,
         false,
         true,
         {true, false},
         {},
         "files/unknown-version.txt",
         tool,
         0,
         1,
         QStringList{QStringLiteral("Version : CSpect9_9.zip"),
                     QStringLiteral("An error occured trying to download CSpect9_9.zip")} +
             emulatorLost,
         {},
         {QStringLiteral("CSpect9_9.zip")},
         QStringLiteral("Download error!")},
        {"tool fetched",
         true,
         false,
         true,
         {true},
         {},
         version,
         tool,
         0,
         0,
         {QStringLiteral("Downloading ") + url(tool), QStringLiteral("Downloaded hdfmonkey.exe")},
         {QStringLiteral("hdfmonkey/hdfmonkey")},
         {},
         QStringLiteral("Done")},
        {"tool download fails",
         true,
         false,
         true,
         {true},
         {},
         version,
         "raw/none",
         0,
         1,
         {QStringLiteral("An error occured trying to download hdfmonkey.exe"),
          QStringLiteral("Unable to find HDFMonkey.exe in current directory!!"),
          QStringLiteral("Please make sure this program to your corvel folder.")},
         {QStringLiteral("hdfmonkey")},
         {QStringLiteral("hdfmonkey/hdfmonkey")},
         QStringLiteral("Download error!")},
        {"tool declined",
         true,
         false,
         true,
         {false},
         {},
         version,
         tool,
         0,
         0,
         {},
         {},
         {QStringLiteral("hdfmonkey")},
         QStringLiteral("Waiting")},
        {"image declined",
         true,
         true,
         false,
         {false},
         {},
         version,
         tool,
         0,
         1,
         {QString(),
          QStringLiteral("You tried to launch CSpect in NextZXOS mode with no disk image file")},
         {},
         {QStringLiteral("img")},
         QStringLiteral("Waiting")},
        {"image size cancelled",
         true,
         true,
         false,
         {true},
         {},
         version,
         tool,
         -2,
         1,
         {},
         {},
         {QStringLiteral("img")},
         QStringLiteral("Waiting")},
        {"image fetched and unpacked",
         true,
         true,
         false,
         {true},
         {0},
         version,
         tool,
         0,
         0,
         {QStringLiteral("Downloading ") + img + QStringLiteral("cspect-next-2gb.zip"),
          QStringLiteral("Downloaded cspect-next-2gb.zip"),
          QStringLiteral("Extracting cspect-next-2gb.zip to cspect-next-2gb.img"),
          QStringLiteral("Please wait! This may take a few minutes"), QStringLiteral("Ready")},
         {QStringLiteral("img/cspect-next-2gb.img")},
         {QStringLiteral("cspect-next-2gb.zip")},
         QStringLiteral("Done")},
        {"last ticked size decides; its archive is missing",
         true,
         true,
         false,
         {true},
         {0, 2},
         version,
         tool,
         0,
         0,
         {QStringLiteral("Downloading ") + img + QStringLiteral("cspect-next-8gb.zip"),
          QStringLiteral("An error occured trying to download the image")},
         {},
         {QStringLiteral("cspect-next-8gb.zip"), QStringLiteral("img/cspect-next-8gb.img")},
         QStringLiteral("Download error!")},
        {"image archive without the image",
         true,
         true,
         false,
         {true},
         {1},
         version,
         tool,
         0,
         1,
         {QStringLiteral("Extracting cspect-next-4gb.zip failed: ") + startFolder() +
          QStringLiteral("img/cspect-next-4gb.img is missing")},
         {QStringLiteral("cspect-next-4gb.zip")},
         {QStringLiteral("img/cspect-next-4gb.img")},
         QStringLiteral("Extract error!")},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        emptyStartFolder();
        platform::dialogs().clearShown();
        m_state = AppState{};
        m_state.ops = standardOperations();
        start();
        const QString base = m_state.startDir;
        pointAt(QString::fromLatin1(s.versionPath), QString::fromLatin1(s.toolPath));
        // Leftovers of earlier runs that the cleanup removes when nothing is missing.
        for (const char* leftover : {"hdfmonkey.zip", "ver.txt"})
            writeFile(QString::fromLatin1(leftover), "old");
        if (s.emulator) {
            writeFile(QStringLiteral("cspect/CSpect.exe"), kStandIn);
            writeFile(m_state.cspectZip, "old");
        }
        if (s.image)
            writeFile(QStringLiteral(".zip"), "old");
        if (s.tool)
            writeFile(QStringLiteral("hdfmonkey/hdfmonkey"), kStandIn);
        if (s.image)
            m_state.imagePath = writeFile(QStringLiteral("disk.img"), test::makeFatImage(256));
        m_state.prerequisitesMissing = 1;
        for (bool yes : s.answers)
            platform::dialogs().queueAnswer({yes, QString(), {}});
        if (!s.tick.empty()) {
            const std::vector<int> tick = s.tick;
            platform::dialogs().queueAnswer({false, QString(), [tick] {
                                                 auto* d = platform::ChoiceDialog::current();
                                                 for (int row : tick)
                                                     d->setChosen(row, true);
                                                 d->attemptAccept();
                                                 return 0;
                                             }});
        }
        platform::dialogs().clearShown();
        const int result = ensurePrerequisites(m_state);

        EXPECT_EQ(result, s.result);
        EXPECT_EQ(m_state.prerequisitesMissing, s.flag);
        EXPECT_EQ(platform::dialogs().pendingAnswers(), 0u);
        std::size_t questions = 0;
        for (const auto& shown : platform::dialogs().shown())
            if (shown.kind == platform::DialogKind::YesNo) {
                EXPECT_EQ(shown.title, QStringLiteral("ERROR"));
                ++questions;
            }
        EXPECT_EQ(questions, s.answers.size());
        const QStringList lines = logLines();
        qsizetype at = 0;
        for (const QString& expected : s.logs) {
            const qsizetype found = lines.indexOf(expected, at);
            EXPECT_GE(found, 0) << "missing or out of order: " << expected.toStdString();
            at = found < 0 ? at : found + 1;
        }
        for (const QString& name : s.present)
            EXPECT_TRUE(QFileInfo::exists(base + name)) << name.toStdString();
        for (const QString& name : s.absent)
            EXPECT_FALSE(QFileInfo::exists(base + name)) << name.toStdString();
        const QStringList leftovers = QDir(base).entryList(
            {QStringLiteral("*.zip"), QStringLiteral("*.part"), QStringLiteral("ver.txt")},
            QDir::Files | QDir::Hidden);
        if (s.flag == 0 && s.result == 0)
            EXPECT_TRUE(leftovers.isEmpty()) << leftovers.join(u' ').toStdString();
        else
            EXPECT_TRUE(leftovers.contains(QStringLiteral("hdfmonkey.zip")));
        EXPECT_EQ(window().statusBar()->text(2).toStdString(), s.status.toStdString());
        if (s.result == 0) {
            EXPECT_EQ(window().statusBar()->progressValue(1), 0);
            EXPECT_EQ(window().statusBar()->progressMaximum(1), 1);
        }
        EXPECT_TRUE(window().isEnabled());
        EXPECT_NE(window().cursor().shape(), Qt::WaitCursor);
        m_state.window.reset();
    }
}

TEST_F(Prerequisites, FetchedPiecesAreReadyForUse) {
    start();
    qputenv("CORVEL_VERSION_URL", url("files/cspectversion.txt").toUtf8());
    for (bool yes : {true, true, true})
        platform::dialogs().queueAnswer({yes, QString(), {}});
    platform::dialogs().queueAnswer({false, QString(), [] {
                                         platform::ChoiceDialog::current()->setChosen(0, true);
                                         platform::ChoiceDialog::current()->attemptAccept();
                                         return 0;
                                     }});
    EXPECT_EQ(ensurePrerequisites(m_state), 0);
    EXPECT_EQ(m_state.prerequisitesMissing, 0);
    EXPECT_EQ(m_state.titleText, QStringLiteral("2_19_4_4"));
    EXPECT_EQ(m_state.cspectZip, QStringLiteral("CSpect2_19_4_4.zip"));
    EXPECT_TRUE(QFileInfo(m_state.hdfmonkeyExe).isExecutable());
    const QString image = startFolder() + QStringLiteral("img/cspect-next-2gb.img");
    EXPECT_EQ(m_state.imagePath, image);
    EXPECT_EQ(window().imagePathText(), image);
    EXPECT_TRUE(QFileInfo::exists(startFolder() + QStringLiteral("cspect/CSpect.exe")));
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_FALSE(top->isVisible() && top->windowTitle() == QStringLiteral("Busy"));
}

TEST_F(Prerequisites, BlankInImagePathIsReportedAndBlocksTheLaunch) {
    start();
    m_state.imagePath = u'"' + writeFile(QStringLiteral("my disk.img"), "x") + u'"';
    writeFile(QStringLiteral("cspect/CSpect.exe"), kStandIn);
    writeFile(QStringLiteral("hdfmonkey/hdfmonkey"), kStandIn);
    platform::dialogs().clearShown();
    EXPECT_EQ(ensurePrerequisites(m_state), 0);
    EXPECT_EQ(m_state.prerequisitesMissing, 1);
    ASSERT_EQ(platform::dialogs().shown().size(), 1u);
    EXPECT_EQ(platform::dialogs().shown()[0].kind, platform::DialogKind::Message);
    EXPECT_EQ(platform::dialogs().shown()[0].text,
              QStringLiteral(
                  "Error! You have a space in your file / path name! Please do not use spaces!"));
    const QStringList lines = logLines();
    EXPECT_TRUE(lines.contains(
        QStringLiteral("Do use     eg : D:\\My_Stuff\\Files\\IMG\\this_is_the_file.img")));
}

} // namespace
