#include "image_fixture.h"
#include "imagetool/file_operations.h"
#include "imagetool/image_browser.h"
#include "ui/image_list.h"
#include "ui/pc_explorer.h"

#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

using namespace corvel;

namespace {

class DragAndDrop : public test::ImageFixture {
protected:
    void SetUp() override {
        ImageFixture::SetUp();
        makeImage(ImageKind::BareFat32);
        makeImageFolder(QStringLiteral("/GAMES"));
        putText(QStringLiteral("/GAME.BAS"), "10 PRINT 1\n");
        putText(QStringLiteral("/Long name with blanks.txt"), "long");
        refreshImageListing(m_state);
        m_pcFolder = startFolder() + QStringLiteral("pc/");
        QDir().mkpath(m_pcFolder);
        window().setExplorerText(m_pcFolder);
    }
    void drop(ControlId on, const QStringList& paths) {
        UiEvent event;
        event.eventKind = UiEventKind::FilesDropped;
        event.control = on;
        event.droppedPaths = paths;
        m_state.events.post(event);
        dispatchPending();
    }
    // The mime data of the drag a drag start on the given list begins (the offscreen platform
    // ends the drag at once; its object stays with the window until deleted).
    QStringList draggedUrls(ControlId list, bool* started) {
        for (QDrag* old : window().findChildren<QDrag*>())
            delete old;
        m_state.events.post(controlEvent(list, ControlEventType::DragStart));
        QApplication::processEvents();
        m_state.ops.handleEvent(m_state, m_state.events.waitForEvent());
        const QList<QDrag*> drags = window().findChildren<QDrag*>();
        *started = !drags.isEmpty();
        QStringList urls;
        if (*started && drags.first()->mimeData() != nullptr) {
            for (const QUrl& url : drags.first()->mimeData()->urls())
                urls << url.toString();
        }
        return urls;
    }

    QString m_pcFolder;
};

} // namespace

TEST_F(DragAndDrop, FilesDroppedOnTheImageListArePutOnceEachThenListed) {
    const QString a = writeFile(QStringLiteral("elsewhere/first file.bas"), "A");
    const QString b = writeFile(QStringLiteral("elsewhere/Ünïcode.nex"), "B");
    const QString quoted = writeFile(QStringLiteral("elsewhere/bad\"name.txt"), "Q");
    writeFile(QStringLiteral("elsewhere/dir/in.txt"), "D");
    // Cut at its quote, the refused name would name this other file.
    writeFile(QStringLiteral("elsewhere/bad"), "WRONG");
    m_state.imageDir = QStringLiteral("/GAMES");
    const int logged = static_cast<int>(newLogLines().size());
    drop(ControlId::ImageList, {a, b, quoted, startFolder() + QStringLiteral("elsewhere/dir/")});
    EXPECT_EQ(newLogLines().mid(logged),
              (QStringList{QStringLiteral("Copying first file.bas to /GAMES/first file.bas"),
                           QStringLiteral("Copying Ünïcode.nex to /GAMES/Ünïcode.nex"),
                           QStringLiteral("Skipped ") + quoted +
                               QStringLiteral(": a name with a double quote cannot be passed "
                                              "to the image tool"),
                           QStringLiteral("Copying dir to /GAMES/dir")}));
    EXPECT_EQ(imageFileBytes(QStringLiteral("/GAMES/first file.bas")), "A");
    EXPECT_EQ(imageFileBytes(QStringLiteral("/GAMES/Ünïcode.nex")), "B");
    EXPECT_EQ(imageFileBytes(QStringLiteral("/GAMES/dir/in.txt")), "D");
    EXPECT_EQ(imageFileBytes(QStringLiteral("/GAMES/bad")), "<missing>");
    EXPECT_EQ(rows().size(), 4) << "up row, dir and the two files";

    // The image list's own drag dropped back on it carries no path and sends nothing.
    const QStringList before = imageListing(QStringLiteral("/GAMES"));
    const int quiet = static_cast<int>(newLogLines().size());
    drop(ControlId::ImageList, {});
    EXPECT_EQ(newLogLines().size(), quiet);
    EXPECT_EQ(imageListing(QStringLiteral("/GAMES")), before);
}

TEST_F(DragAndDrop, ARealDropOfFileUrlsOnTheListReachesTheImage) {
    const QString path = writeFile(QStringLiteral("elsewhere/dropped file.txt"), "real");
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(path), QUrl(QStringLiteral("https://example.invalid/x"))});
    QWidget* viewport = window().imageList()->viewport();
    const QPoint at = viewport->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent dropEvent(QPointF(at), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &dropEvent);
    dispatchPending();
    delete mime;
    EXPECT_EQ(newLogLines().last(), QStringLiteral("Copying dropped file.txt to dropped file.txt"));
    EXPECT_EQ(imageFileBytes(QStringLiteral("/dropped file.txt")), "real");
    EXPECT_NE(rowOf(QStringLiteral("dropped file.txt")), -1);
}

TEST_F(DragAndDrop, ADropOnTheExplorerCopiesTheSelectedImageRowsThere) {
    window().imageList()->clearSelection();
    drop(ControlId::PcExplorer, {m_pcFolder + QStringLiteral("ignored")});
    EXPECT_EQ(QDir(m_pcFolder).entryList(QDir::Files), QStringList()) << "no row selected";

    selectRows({rowOf(QStringLiteral("GAME.BAS")), rowOf(QStringLiteral("GAMES")),
                rowOf(QStringLiteral("Long name with blanks.txt"))});
    const int logged = static_cast<int>(newLogLines().size());
    drop(ControlId::PcExplorer, {QStringLiteral("/whatever/was/dropped")});
    EXPECT_EQ(newLogLines().size(), logged) << "no log line for these copies";
    QFile game(m_pcFolder + QStringLiteral("GAME.BAS"));
    ASSERT_TRUE(game.open(QIODevice::ReadOnly));
    EXPECT_EQ(game.readAll(), "10 PRINT 1\n");
    EXPECT_TRUE(QFile::exists(m_pcFolder + QStringLiteral("Long name with blanks.txt")));
    EXPECT_TRUE(QFileInfo(m_pcFolder + QStringLiteral("GAMES")).isDir());
}

TEST_F(DragAndDrop, ExplorerDragCarriesRealFileUrlsAndImageDragCarriesNone) {
    writeFile(QStringLiteral("pc/one file.bas"), "1");
    writeFile(QStringLiteral("pc/zwei.txt"), "2");
    window().setExplorerText(m_pcFolder);
    selectExplorerEntries({QStringLiteral("one file.bas"), QStringLiteral("zwei.txt")});
    bool started = false;
    EXPECT_EQ(
        draggedUrls(ControlId::PcExplorer, &started),
        (QStringList{QUrl::fromLocalFile(m_pcFolder + QStringLiteral("one file.bas")).toString(),
                     QUrl::fromLocalFile(m_pcFolder + QStringLiteral("zwei.txt")).toString()}));
    EXPECT_TRUE(started);

    window().pcExplorer()->clearSelection();
    draggedUrls(ControlId::PcExplorer, &started);
    EXPECT_FALSE(started) << "nothing selected, no drag";

    selectRows({rowOf(QStringLiteral("GAME.BAS"))});
    EXPECT_EQ(draggedUrls(ControlId::ImageList, &started), QStringList());
    EXPECT_TRUE(started);
    window().imageList()->clearSelection();
    draggedUrls(ControlId::ImageList, &started);
    EXPECT_FALSE(started);
}
