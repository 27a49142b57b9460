#include "core/startup.h"
#include "platform/dialogs.h"
#include "support/app_fixture.h"
#include "ui/pc_explorer.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>

using namespace corvel;
using corvel::test::AppFixture;

using StartUp = AppFixture;

TEST_F(StartUp, FillsTheStateFromTheStartFolder) {
    start();
    const QString dir = QDir::toNativeSeparators(QDir::currentPath()) + QDir::separator();
    EXPECT_EQ(m_state.startDir, dir);
    EXPECT_EQ(m_state.explorePath, dir);
    EXPECT_EQ(m_state.hdfmonkeyExe, dir + QStringLiteral("hdfmonkey/hdfmonkey"));
    EXPECT_EQ(m_state.cspectExe, dir + QStringLiteral("cspect/cspect.exe"));
    EXPECT_EQ(m_state.cspectZip, QStringLiteral("CSpect2_15_01.zip"));
    EXPECT_EQ(m_state.escSetting, QStringLiteral("0"));
    EXPECT_EQ(m_state.titleText, QStringLiteral("CORVEL - v1.4"));
    EXPECT_EQ(m_state.prerequisitesMissing, 0);
    EXPECT_TRUE(m_state.imageDir.isEmpty());
    EXPECT_TRUE(m_state.customCommand.isEmpty());
}

TEST_F(StartUp, WithoutSettingsFileTheControlsShowTheirDefaults) {
    start();
    MainWindow& w = window();
    EXPECT_EQ(w.comboIndex(ControlId::ScreenSizeCombo), 1);
    EXPECT_EQ(static_cast<QComboBox*>(w.control(ControlId::ScreenSizeCombo))->currentText(),
              QStringLiteral("Screen Size X2"));
    for (ControlId id : {ControlId::SoundCombo, ControlId::VsyncCombo, ControlId::JoystickCombo,
                         ControlId::HertzCombo})
        EXPECT_EQ(w.comboIndex(id), 0);
    EXPECT_FALSE(w.launchCustomVisible());
    EXPECT_EQ(w.imagePathText(), QString());
    EXPECT_EQ(w.imageRowCount(), 0);
    EXPECT_EQ(w.explorerFolder(), m_state.explorePath);
    EXPECT_EQ(w.pcExplorer()->columnWidth(PcExplorer::ModifiedColumn), 0);
    EXPECT_EQ(w.pcExplorer()->columnWidth(PcExplorer::NameColumn), 280);
    EXPECT_EQ(w.pcExplorer()->columnWidth(PcExplorer::SizeColumn), 60);
    EXPECT_EQ(w.pcExplorer()->columnWidth(PcExplorer::TypeColumn), 100);
    EXPECT_TRUE(w.control(ControlId::ImageList)->acceptDrops());
    EXPECT_TRUE(w.control(ControlId::PcExplorer)->acceptDrops());
}

TEST_F(StartUp, GreetsInTheLogAndShowsTheAboutBoxOnceBeforeAnyEvent) {
    start();
    const auto& shown = platform::dialogs().shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, platform::DialogKind::Message);
    EXPECT_EQ(shown[0].title, QStringLiteral("CORVEL - v1.4"));
    const QStringList about = shown[0].text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(about.size(), 4);
    EXPECT_EQ(about[1], QStringLiteral("A front end for CSpect & HDFMonkey"));
    EXPECT_EQ(about[2], QStringLiteral("Corvel can automatically download all"));
    EXPECT_EQ(about[3], QStringLiteral("required files for launch NextZXOS."));
    // Nothing reached the dispatcher yet: the first size announcement is still queued.
    EXPECT_FALSE(m_state.events.empty());
    const QStringList log = logLines();
    ASSERT_EQ(log.size(), 4);
    EXPECT_EQ(log[0], QString());
    EXPECT_TRUE(log[1].startsWith(QStringLiteral("CORVEL - v1.4")));
    EXPECT_TRUE(log[1].contains(QStringLiteral("2022")));
    EXPECT_TRUE(log[2].contains(QStringLiteral("CSpect")));
    EXPECT_TRUE(log[3].contains(QStringLiteral("HDF Monkey")));
    EXPECT_NE(window().imageContextMenu(), nullptr);
}

TEST_F(StartUp, CloseRequestEndsTheLoopSavesTheSettingsAndExitsWithZero) {
    start();
    const QString settings = startFolder() + QStringLiteral("zelt.cfg");
    ASSERT_FALSE(QFile::exists(settings));
    window().close();
    runMainLoop(m_state);
    EXPECT_FALSE(QFile::exists(settings)) << "the loop itself writes nothing";
    EXPECT_EQ(shutDown(m_state), 0);
    EXPECT_TRUE(QFile::exists(settings));
}
