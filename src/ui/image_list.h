#pragma once

#include <QStringList>
#include <QTableWidget>

namespace corvel {

// The list of the current image directory: four columns, rows with their own text colour,
// several rows selectable. It reports drag starts and file drops; its context menu is shown by
// the main window.
class ImageList final : public QTableWidget {
    Q_OBJECT
public:
    explicit ImageList(QWidget* parent);

    // A row in the given text colour (the list's own colour when none is given).
    int appendRow(const QStringList& cells, const QColor& color = QColor());
    void setRowColor(int row, const QColor& color);
    QString cell(int row, int column) const;
    bool rowSelected(int row) const;
    int firstSelectedRow() const;
    int selectedRowCount() const;

Q_SIGNALS:
    void doubleClickedRow();
    void dragStarted();
    void filesDropped(const QStringList& paths);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

} // namespace corvel
