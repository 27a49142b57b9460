#pragma once

#include <QStringList>
#include <QTableView>

class QFileSystemWatcher;
class QStandardItemModel;

namespace corvel {

// The PC file explorer: one folder's entries, ".." first, then sub-folders, then the files that
// match the pattern. With no folder it lists the mounted volumes, which stand for drives. It
// follows its folder on disk and fills itself again whenever the folder changes.
class PcExplorer final : public QTableView {
    Q_OBJECT
public:
    enum Column { NameColumn = 0, SizeColumn, TypeColumn, ModifiedColumn };

    explicit PcExplorer(QWidget* parent);

    // A text ending with the separator opens that folder; a text with a pattern after the last
    // separator opens the folder part and lists only the files matching the pattern.
    void setText(const QString& text);
    QString folder() const { return m_folder; }
    QString pattern() const { return m_pattern; }

    int entryCount() const;
    QString entryName(int index) const;
    bool entrySelected(int index) const;
    int firstSelectedEntry() const;
    bool entryIsFolder(int index) const;

Q_SIGNALS:
    void folderChanged(); // the user opened another folder (double-click, Enter)
    void fileActivated(); // double-click or Enter on a file
    void clickedEntry();  // a click with the left button
    void rightClicked();
    void rightDoubleClicked();
    void dragStarted();
    void filesDropped(const QStringList& paths);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void openFolder(const QString& folder);
    void fill();
    void fillVolumes();
    void fillFolder();
    void activate(int row);
    void sortByHeader(int column);

    QStandardItemModel* m_model;
    QFileSystemWatcher* m_watcher;
    QString m_folder;
    QString m_pattern;
    int m_sortColumn = NameColumn;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

} // namespace corvel
