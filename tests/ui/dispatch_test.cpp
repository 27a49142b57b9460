#include "support/app_fixture.h"
#include "ui/dispatch.h"
#include "ui/path_combo.h"
#include "ui/pc_explorer.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

using namespace corvel;
using corvel::test::AppFixture;

namespace {

class DispatchTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        writeFile(QStringLiteral("demo/alpha.txt"), "a");
        writeFile(QStringLiteral("demo/Beta.bas"), "b");
        writeFile(QStringLiteral("demo/gamma.nex"), "c");
        QDir(startFolder()).mkpath(QStringLiteral("demo/Sub"));
        start();
        dispatchPending();
        m_state.window->setExplorerText(startFolder() + QStringLiteral("demo/"));
    }

    QStringList explorerNames() const {
        QStringList names;
        for (int i = 0; i < m_state.window->explorerEntryCount(); ++i)
            names << m_state.window->explorerEntryName(i);
        return names;
    }

    bool handle(const UiEvent& e) { return handleEvent(m_state, e); }

    void typeFilterAndPressEnter(const QString& text) {
        auto* field = static_cast<QLineEdit*>(window().control(ControlId::FilterField));
        field->setText(text);
        QTest::keyClick(field, Qt::Key_Return);
        dispatchPending();
    }

    void focusFilter() {
        window().activateWindow();
        window().control(ControlId::FilterField)->setFocus();
        dispatchPending();
    }
};

} // namespace

TEST_F(DispatchTest, CloseStopsAndEveryOtherEventKeepsRunning) {
    UiEvent close;
    close.eventKind = UiEventKind::CloseRequested;
    EXPECT_FALSE(handle(close));
    UiEvent dropOnButton;
    dropOnButton.eventKind = UiEventKind::FilesDropped;
    dropOnButton.control = ControlId::LaunchButton;
    dropOnButton.droppedPaths = {startFolder() + QStringLiteral("demo/alpha.txt")};
    const UiEvent others[] = {menuEvent(302),
                              menuEvent(999),
                              UiEvent{},
                              controlEvent(ControlId::SoundCombo, ControlEventType::Change),
                              controlEvent(ControlId::ImagePathField, ControlEventType::Click),
                              dropOnButton};
    for (const UiEvent& e : others)
        EXPECT_TRUE(handle(e));
    EXPECT_TRUE(m_state.events.empty());
}

TEST_F(DispatchTest, ExplorerAndPathComboFollowEachOther) {
    const QString demo = startFolder() + QStringLiteral("demo/");
    EXPECT_TRUE(handle(controlEvent(ControlId::PcExplorer, ControlEventType::Click)));
    EXPECT_EQ(m_state.window->pathComboText(), demo);

    // Enter on a typed folder that exists is a folder choice; the explorer opens it.
    QLineEdit* edit = window().pathCombo()->lineEdit();
    edit->setText(startFolder() + QStringLiteral("demo/Sub"));
    QTest::keyClick(edit, Qt::Key_Return);
    dispatchPending();
    EXPECT_EQ(m_state.window->explorerFolder(), demo + QStringLiteral("Sub/"));

    // A path that does not exist puts the previous text back and chooses nothing.
    edit->setText(startFolder() + QStringLiteral("missing"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(m_state.events.empty());
    EXPECT_EQ(edit->text(), demo + QStringLiteral("Sub/"));
}

TEST_F(DispatchTest, ExplorerListsParentFoldersThenFilesIgnoringCase) {
    EXPECT_EQ(explorerNames(),
              (QStringList{QStringLiteral(".."), QStringLiteral("Sub"), QStringLiteral("alpha.txt"),
                           QStringLiteral("Beta.bas"), QStringLiteral("gamma.nex")}));
    // A file pattern keeps the folders and lists only matching files.
    m_state.window->setExplorerText(startFolder() + QStringLiteral("demo/*.BAS;g?mma.*"));
    EXPECT_EQ(explorerNames(),
              (QStringList{QStringLiteral(".."), QStringLiteral("Sub"), QStringLiteral("Beta.bas"),
                           QStringLiteral("gamma.nex")}));
    EXPECT_EQ(m_state.window->explorerFolder(), startFolder() + QStringLiteral("demo/"));
}

TEST_F(DispatchTest, ExplorerFollowsItsFolderOnDisk) {
    writeFile(QStringLiteral("demo/delta.z80"), "d");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return explorerNames().contains(QStringLiteral("delta.z80")); }, 5000));
    QFile::remove(startFolder() + QStringLiteral("demo/alpha.txt"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !explorerNames().contains(QStringLiteral("alpha.txt")); }, 5000));
}

TEST_F(DispatchTest, HeaderClickSortsAndASecondClickReverses) {
    QHeaderView* header = window().pcExplorer()->horizontalHeader();
    const QPoint nameHeader(header->sectionPosition(PcExplorer::NameColumn) + 20,
                            header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, nameHeader);
    EXPECT_EQ(explorerNames(),
              (QStringList{QStringLiteral(".."), QStringLiteral("Sub"), QStringLiteral("gamma.nex"),
                           QStringLiteral("Beta.bas"), QStringLiteral("alpha.txt")}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, nameHeader);
    EXPECT_EQ(explorerNames().at(2), QStringLiteral("alpha.txt"));
}

TEST_F(DispatchTest, EnterInTheFilterFieldFiltersAndASecondFilterReplacesTheFirst) {
    focusFilter();
    typeFilterAndPressEnter(QStringLiteral("ALPHA"));
    EXPECT_EQ(explorerNames(), (QStringList{QStringLiteral(".."), QStringLiteral("Sub"),
                                            QStringLiteral("alpha.txt")}));
    typeFilterAndPressEnter(QStringLiteral("a"));
    EXPECT_EQ(explorerNames().size(), 5) << "every name holds an a";
    typeFilterAndPressEnter(QStringLiteral("nex"));
    EXPECT_EQ(explorerNames().last(), QStringLiteral("gamma.nex"));
    EXPECT_EQ(explorerNames().size(), 3);
    typeFilterAndPressEnter(QString());
    EXPECT_EQ(explorerNames().size(), 5);
}

TEST_F(DispatchTest, EnterDoesNothingOnceTheFilterFieldLostTheFocus) {
    focusFilter();
    window().control(ControlId::LaunchButton)->setFocus();
    dispatchPending();
    auto* field = static_cast<QLineEdit*>(window().control(ControlId::FilterField));
    field->setText(QStringLiteral("alpha"));
    QTest::keyClick(window().control(ControlId::LaunchButton), Qt::Key_Return);
    QApplication::processEvents();
    for (; !m_state.events.empty();)
        EXPECT_NE(m_state.events.waitForEvent().menuNumber, FilterEnterMenuNumber);
    EXPECT_EQ(explorerNames().size(), 5);
}

TEST_F(DispatchTest, DoubleClickOnAFolderOnlyOpensIt) {
    PcExplorer& explorer = *window().pcExplorer();
    const QRect subRow = explorer.visualRect(explorer.model()->index(1, 0));
    QTest::mouseDClick(explorer.viewport(), Qt::LeftButton, {}, subRow.center());
    ASSERT_FALSE(m_state.events.empty());
    dispatchPending();
    EXPECT_EQ(m_state.window->explorerFolder(), startFolder() + QStringLiteral("demo/Sub/"));
    EXPECT_EQ(m_state.window->pathComboText(), startFolder() + QStringLiteral("demo/Sub/"));
}

TEST_F(DispatchTest, ParentOfTheRootListsTheVolumesAndPickingOneOpensIt) {
    m_state.window->setExplorerText(QStringLiteral("/"));
    PcExplorer& explorer = *window().pcExplorer();
    explorer.setFocus();
    explorer.selectRow(0);
    ASSERT_EQ(m_state.window->explorerEntryName(0), QStringLiteral(".."));
    QTest::keyClick(&explorer, Qt::Key_Return); // Enter acts like a double-click
    dispatchPending();
    EXPECT_EQ(m_state.window->explorerFolder(), QString());
    EXPECT_TRUE(explorerNames().contains(QStringLiteral("/")));

    PathCombo& combo = *window().pathCombo();
    const int rootVolume = combo.findText(QStringLiteral("/"));
    ASSERT_GE(rootVolume, 0);
    Q_EMIT combo.activated(rootVolume);
    dispatchPending();
    EXPECT_EQ(m_state.window->explorerFolder(), QStringLiteral("/"));
}
