#include "image_fixture.h"
#include "imagetool/image_browser.h"
#include "platform/dialogs.h"
#include "ui/image_list.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace corvel;

namespace {

class ImageBrowser : public test::ImageFixture {
protected:
    QString title() const {
        return static_cast<QLabel*>(window().control(ControlId::ImageTitleLabel))->text();
    }
    QColor rowColor(int row) const {
        return window().imageList()->item(row, 1)->foreground().color();
    }
    // A real double-click on the row's Filename cell, through the list's own viewport.
    void doubleClickRow(int row) {
        ImageList* list = window().imageList();
        window().show();
        const QRect cell = list->visualRect(list->model()->index(row, 1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        dispatchPending();
    }
    void seedGames() {
        makeImageFolder(QStringLiteral("/GAMES"));
        makeImageFolder(QStringLiteral("/GAMES/ZX"));
        putText(QStringLiteral("/GAME.BAS"), "10 PRINT 1\n");
        putText(QStringLiteral("/README"), "hello");
        putText(QStringLiteral("/A rather long file name.txt"), "x");
        putText(QStringLiteral("/GAMES/Überspiel.nex"), "nex!");
        putText(QStringLiteral("/GAMES/ZX/deep.tap"), "tap");
    }
};

const QColor DirColor(8, 5, 166);
const QColor FileColor(18, 87, 31);
const QColor UpColor(166, 15, 43);

} // namespace

TEST_F(ImageBrowser, RootListingShowsColouredRowsDirectoriesFirstOnEveryImageKind) {
    for (ImageKind kind : {ImageKind::Partitioned, ImageKind::BareFat16, ImageKind::BareFat32}) {
        SCOPED_TRACE(static_cast<int>(kind));
        QFile::remove(imageFile());
        makeImage(kind);
        putText(QStringLiteral("/GAME.BAS"), "10 PRINT 1\n");
        makeImageFolder(QStringLiteral("/GAMES"));
        putText(QStringLiteral("/README"), "hello");
        putText(QStringLiteral("/A rather long file name.txt"), "x");
        refreshImageListing(m_state);
        QStringList expected{QStringLiteral("GAMES|DIR|"), QStringLiteral("GAME.BAS|bas|11"),
                             QStringLiteral("README||5"),
                             QStringLiteral("A rather long file name.txt|txt|1")};
        QStringList shown = rows();
        // The tool prints entries in directory order; only the directory-first rule is fixed.
        EXPECT_EQ(shown.first(), expected.first());
        shown.sort();
        expected.sort();
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(rowColor(0), DirColor);
        EXPECT_EQ(rowColor(1), FileColor);
        EXPECT_EQ(title(), QStringLiteral("Disk Image Explorer : "));
    }
}

TEST_F(ImageBrowser, DoubleClicksWalkDownAndBackUpToTheRoot) {
    makeImage();
    seedGames();
    refreshImageListing(m_state);
    doubleClickRow(rowOf(QStringLiteral("GAMES")));
    EXPECT_EQ(m_state.imageDir, QStringLiteral("/GAMES"));
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("[Up Directory] ..||"), QStringLiteral("ZX|DIR|"),
                                   QStringLiteral("Überspiel.nex|nex|4")}));
    EXPECT_EQ(rowColor(0), UpColor);
    EXPECT_EQ(rowColor(1), DirColor);
    EXPECT_EQ(title(), QStringLiteral("Disk Image Explorer : /GAMES"));

    doubleClickRow(rowOf(QStringLiteral("ZX")));
    EXPECT_EQ(m_state.imageDir, QStringLiteral("/GAMES/ZX"));
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("[Up Directory] ..||"),
                                   QStringLiteral("deep.tap|tap|3")}));
    doubleClickRow(rowOf(QStringLiteral("deep.tap")));
    EXPECT_EQ(m_state.imageDir, QStringLiteral("/GAMES/ZX")) << "a file row does nothing";

    doubleClickRow(0);
    doubleClickRow(0);
    EXPECT_EQ(m_state.imageDir, QString());
    EXPECT_EQ(rowOf(QStringLiteral("[Up Directory] ..")), -1);
    EXPECT_EQ(title(), QStringLiteral("Disk Image Explorer : "));

    window().imageList()->clearSelection();
    m_state.events.post(controlEvent(ControlId::ImageList, ControlEventType::DoubleClick));
    dispatchPending();
    EXPECT_EQ(m_state.imageDir, QString()) << "no selected row: nothing happens";
}

TEST_F(ImageBrowser, AFailedListingStopsAtTheErrorLine) {
    writeFile(QStringLiteral("img/test.img"), QByteArray(4096, 'z'));
    m_state.imagePath = u'"' + imageFile() + u'"';
    refreshImageListing(m_state);
    EXPECT_EQ(window().imageRowCount(), 0);
    ASSERT_FALSE(newLogLines().isEmpty());
    EXPECT_TRUE(newLogLines().last().startsWith(QStringLiteral("ERROR loading file - Error")))
        << newLogLines().last().toStdString();
    EXPECT_TRUE(m_state.entries.empty());

    makeImage();
    m_state.imageDir = QStringLiteral("/NOPE");
    refreshImageListing(m_state);
    EXPECT_EQ(rows(), QStringList{QStringLiteral("[Up Directory] ..||")});
    EXPECT_TRUE(newLogLines().last().startsWith(QStringLiteral("ERROR loading file - Error")));
    EXPECT_EQ(title(), QStringLiteral("Disk Image Explorer : /NOPE"));
}

TEST_F(ImageBrowser, SortKeepsOutputOrderAndOnlyAnExactErrorInASizeStops) {
    // A stand-in tool prints files before directories and near-miss error texts.
    m_state.hdfmonkeyExe =
        writeScript(QStringLiteral("fake-ls.sh"),
                    "printf '1\\tB.TXT\\n[DIR]\\tZED\\nerror\\tlower\\n[DIR]\\tError\\n2\\tA\\n"
                    "x Error y\\tSTOP\\n3\\tAFTER\\n[DIR]\\tLAST\\n'\n");
    refreshImageListing(m_state);
    EXPECT_EQ(rows(), (QStringList{QStringLiteral("ZED|DIR|"), QStringLiteral("Error|DIR|"),
                                   QStringLiteral("LAST|DIR|"), QStringLiteral("B.TXT|txt|1"),
                                   QStringLiteral("lower||error"), QStringLiteral("A||2")}));
    EXPECT_EQ(newLogLines().last(), QStringLiteral("ERROR loading file - x Error y"));
    EXPECT_TRUE(m_state.entries.empty());
}

TEST_F(ImageBrowser, MissingToolLeavesOnlyTheUpRowAndStillSetsTheTitle) {
    m_state.hdfmonkeyExe = startFolder() + QStringLiteral("nothing/here");
    m_state.imageDir = QStringLiteral("/X");
    const int logged = static_cast<int>(newLogLines().size());
    refreshImageListing(m_state);
    EXPECT_EQ(rows(), QStringList{QStringLiteral("[Up Directory] ..||")});
    EXPECT_EQ(rowColor(0), UpColor);
    EXPECT_EQ(title(), QStringLiteral("Disk Image Explorer : /X"));
    EXPECT_EQ(newLogLines().size(), logged);
}

TEST_F(ImageBrowser, SelectingAnImageResetsToItsRootAndCancelKeepsTheOldOne) {
    makeImage();
    seedGames();
    m_state.imagePath = QStringLiteral("\"/somewhere/old.img\"");
    m_state.imageDir = QStringLiteral("/GAMES");
    platform::dialogs().clearShown();
    platform::dialogs().queueAnswer({false, imageFile(), {}});
    QTest::mouseClick(static_cast<QPushButton*>(window().control(ControlId::SelectImageButton)),
                      Qt::LeftButton);
    dispatchPending();
    ASSERT_EQ(platform::dialogs().shown().size(), 1u);
    EXPECT_EQ(platform::dialogs().shown()[0].title, QStringLiteral("Select Disk Image File"));
    EXPECT_EQ(platform::dialogs().shown()[0].text, QStringLiteral("/somewhere/"));
    const QString quoted = u'"' + imageFile() + u'"';
    EXPECT_EQ(m_state.imagePath, quoted);
    EXPECT_EQ(m_state.imageDir, QString());
    EXPECT_EQ(window().imagePathText(), quoted);
    EXPECT_NE(rowOf(QStringLiteral("GAMES")), -1);
    EXPECT_EQ(newLogLines().last(), QStringLiteral("Selected Disk Image : ") + quoted);

    // Cancelled: nothing changes, but the listing is read again (the image changed meanwhile).
    m_state.imageDir = QStringLiteral("/GAMES");
    putText(QStringLiteral("/GAMES/NEW.BAS"), "n");
    QTest::mouseClick(static_cast<QPushButton*>(window().control(ControlId::SelectImageButton)),
                      Qt::LeftButton);
    dispatchPending();
    EXPECT_EQ(m_state.imagePath, quoted);
    EXPECT_EQ(m_state.imageDir, QStringLiteral("/GAMES"));
    EXPECT_NE(rowOf(QStringLiteral("NEW.BAS")), -1);
    EXPECT_EQ(newLogLines().last(), QStringLiteral("Selected Disk Image : ") + quoted);
}
