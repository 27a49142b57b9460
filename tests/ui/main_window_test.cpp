#include "platform/fonts.h"
#include "support/app_fixture.h"
#include "ui/image_list.h"
#include "ui/pc_explorer.h"
#include "ui/status_bar.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

using namespace corvel;
using corvel::test::AppFixture;

namespace {

struct Placement {
    ControlId id;
    QRect rect;
};

const Placement Layout[] = {
    {ControlId::ImageList, {530, 90, 430, 450}},
    {ControlId::PcExplorer, {10, 120, 450, 380}},
    {ControlId::PcPathCombo, {10, 70, 200, 35}},
    {ControlId::ImagePathField, {10, 20, 730, 35}},
    {ControlId::SelectImageButton, {780, 20, 160, 35}},
    {ControlId::FilterField, {290, 70, 170, 35}},
    {ControlId::FilterLabel, {220, 85, 50, 20}},
    {ControlId::LaunchCustomButton, {790, 590, 120, 40}},
    {ControlId::LaunchButton, {10, 600, 100, 25}},
    {ControlId::ScreenSizeCombo, {130, 600, 100, 25}},
    {ControlId::SoundCombo, {250, 600, 100, 25}},
    {ControlId::VsyncCombo, {370, 600, 100, 25}},
    {ControlId::JoystickCombo, {490, 600, 100, 25}},
    {ControlId::HertzCombo, {610, 600, 100, 25}},
    {ControlId::CopyToImageButton, {470, 270, 50, 40}},
    {ControlId::CopyToPcButton, {470, 320, 50, 40}},
    {ControlId::NewFolderButton, {620, 550, 120, 30}},
    {ControlId::DeleteFilesButton, {750, 550, 120, 30}},
    {ControlId::ConfigButton, {920, 590, 40, 40}},
    {ControlId::LogView, {10, 510, 450, 80}},
    {ControlId::ImageTitleLabel, {530, 70, 430, 20}},
};

class MainWindowTest : public AppFixture {
protected:
    void expectLayout() {
        for (const Placement& p : Layout)
            EXPECT_EQ(window().control(p.id)->geometry(), p.rect) << static_cast<int>(p.id);
        EXPECT_EQ(window().statusBar()->geometry(), QRect(0, 637, 970, 23));
    }
};

} // namespace

TEST_F(MainWindowTest, EveryControlHasItsPlaceAfterStartAndAfterARestore) {
    start();
    EXPECT_TRUE(dispatchPending());
    EXPECT_EQ(window().size(), QSize(970, 660));
    EXPECT_EQ(window().minimumSize(), window().maximumSize());
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Corvel 1.3"));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((window().frameGeometry().center() - screen.center()).manhattanLength(), 2);
    expectLayout();

    window().imageList()->setGeometry(0, 0, 10, 10);
    window().showMinimized();
    QApplication::processEvents();
    EXPECT_TRUE(m_state.events.empty()) << "minimising announces no new size";
    window().showNormal();
    EXPECT_TRUE(dispatchPending());
    expectLayout();
}

TEST_F(MainWindowTest, ControlsCarryTheirCaptionsFontsAndColumns) {
    start();
    MainWindow& w = window();
    const auto caption = [&](ControlId id) {
        return static_cast<QPushButton*>(w.control(id))->text();
    };
    EXPECT_EQ(caption(ControlId::CopyToImageButton), QStringLiteral(">>>>"));
    EXPECT_EQ(caption(ControlId::CopyToPcButton), QStringLiteral("<<<<"));
    EXPECT_EQ(caption(ControlId::NewFolderButton), QStringLiteral("New Folder"));
    EXPECT_EQ(caption(ControlId::DeleteFilesButton), QStringLiteral("Delete Files"));
    EXPECT_EQ(caption(ControlId::ConfigButton), QStringLiteral("CFG"));
    EXPECT_EQ(caption(ControlId::LaunchButton), QStringLiteral("Launch"));
    EXPECT_TRUE(w.control(ControlId::CopyToImageButton)->font().bold());
    EXPECT_EQ(w.control(ControlId::CopyToImageButton)->font().pointSize(), 10);
    for (ControlId plain : {ControlId::CopyToPcButton, ControlId::ConfigButton})
        EXPECT_EQ(w.control(plain)->font(), w.font()) << "the window's dialog font";
    EXPECT_FALSE(w.font().bold());
    EXPECT_EQ(w.control(ControlId::ImageList)->font(), platform::fontByNumber(0));
    EXPECT_EQ(w.control(ControlId::ImageTitleLabel)->font(), platform::fontByNumber(6));

    ImageList& list = *w.imageList();
    ASSERT_EQ(list.columnCount(), 4);
    const char* titles[] = {"", "Filename", "Type", "Size"};
    const int widths[] = {30, 220, 80, 80};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(list.horizontalHeaderItem(c)->text(), QString::fromLatin1(titles[c]));
        EXPECT_EQ(list.columnWidth(c), widths[c]);
    }
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(w.pcExplorer()->selectionMode(), QAbstractItemView::ExtendedSelection);
}

TEST_F(MainWindowTest, ContextMenuOpensOnlyOverTheImageListAtThePointer) {
    start();
    dispatchPending();
    QMenu* menu = window().imageContextMenu();
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction* a : menu->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Launch"), QStringLiteral("View/Edit Notepad"),
                                     QStringLiteral("-"), QStringLiteral("Delete")}));

    const QPoint pointer(300, 200);
    QCursor::setPos(pointer);
    for (QWidget* other : {window().control(ControlId::PcExplorer),
                           window().control(ControlId::CopyToImageButton)}) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                other->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(other, &event);
        EXPECT_FALSE(menu->isVisible());
    }
    // The keyboard's menu key uses the pointer's position too, not the list's.
    QContextMenuEvent keyEvent(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(0, 0));
    QApplication::sendEvent(window().imageList()->viewport(), &keyEvent);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), QCursor::pos() - QPoint(1, 1));

    menu->actions().constLast()->trigger();
    menu->hide();
    ASSERT_EQ(m_state.events.size(), 1u);
    EXPECT_EQ(m_state.events.waitForEvent().menuNumber, 303);
}

TEST_F(MainWindowTest, StatusBarFieldsStartAsReadyEmptyBarAndWaiting) {
    start();
    StatusBar& bar = *window().statusBar();
    EXPECT_EQ(bar.text(0), QStringLiteral("Ready"));
    EXPECT_EQ(bar.label(0)->frameShape(), QFrame::NoFrame);
    ASSERT_NE(bar.progressBar(1), nullptr);
    EXPECT_EQ(bar.progressBar(1)->value(), 0);
    EXPECT_EQ(bar.progressBar(1)->maximum(), 100);
    EXPECT_EQ(bar.text(2), QStringLiteral("Waiting"));
    EXPECT_EQ(bar.label(0)->width() + bar.label(1)->width() + bar.label(2)->width() + 6, 700);
}

TEST_F(MainWindowTest, ProgressFieldFillsInProportionAndTextHidesTheBar) {
    start();
    MainWindowPort& port = *m_state.window;
    StatusBar& bar = *window().statusBar();
    struct Case {
        qint64 value, min, max;
        int expectedPercent;
    } cases[] = {{1, 0, 1, 100},
                 {0, 0, 1, 0},
                 {7, 0, 5, 100},
                 {-3, 0, 5, 0},
                 {5'000'000'000, 0, 10'000'000'000, 50}};
    for (const Case& c : cases) {
        port.setStatusProgress(1, c.value, FieldStyle::Raised, c.min, c.max);
        const QProgressBar* p = bar.progressBar(1);
        const qint64 percent =
            qint64(p->value() - p->minimum()) * 100 / (p->maximum() - p->minimum());
        EXPECT_EQ(percent, c.expectedPercent) << c.value;
        EXPECT_EQ(bar.label(1)->frameShadow(), QFrame::Raised);
    }
    port.setStatusProgress(1, 3, FieldStyle::Plain); // keeps the last range
    EXPECT_EQ(bar.progressMaximum(1), 10'000'000'000);

    port.setStatusText(2, QStringLiteral("Done"));
    EXPECT_EQ(bar.text(2), QStringLiteral("Done"));
    port.setStatusProgress(2, 1, FieldStyle::Plain, 0, 2);
    EXPECT_TRUE(bar.text(2).isEmpty());
    EXPECT_TRUE(bar.progressBar(2)->isVisible());
    port.setStatusText(2, QStringLiteral("Extracting .... "), FieldStyle::Borderless,
                       FieldAlign::Right);
    EXPECT_FALSE(bar.progressBar(2)->isVisible());
    EXPECT_EQ(bar.label(2)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}
