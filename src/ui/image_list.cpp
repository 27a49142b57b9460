#include "image_list.h"

#include "drop_paths.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>

namespace corvel {

ImageList::ImageList(QWidget* parent) : QTableWidget(0, 4, parent) {
    setHorizontalHeaderLabels(
        {QString(), QStringLiteral("Filename"), QStringLiteral("Type"), QStringLiteral("Size")});
    const int widths[] = {30, 220, 80, 80};
    for (int column = 0; column < 4; ++column)
        horizontalHeader()->resizeSection(column, widths[column]);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

int ImageList::appendRow(const QStringList& cells, const QColor& color) {
    const int row = rowCount();
    insertRow(row);
    for (int column = 0; column < columnCount(); ++column) {
        auto* item = new QTableWidgetItem(column < cells.size() ? cells[column] : QString());
        if (color.isValid())
            item->setForeground(color);
        setItem(row, column, item);
    }
    return row;
}

void ImageList::setRowColor(int row, const QColor& color) {
    for (int column = 0; column < columnCount(); ++column) {
        if (QTableWidgetItem* it = item(row, column))
            it->setForeground(color);
    }
}

QString ImageList::cell(int row, int column) const {
    const QTableWidgetItem* it = item(row, column);
    return it != nullptr ? it->text() : QString();
}

bool ImageList::rowSelected(int row) const {
    return selectionModel()->isRowSelected(row, QModelIndex());
}

int ImageList::firstSelectedRow() const {
    int first = -1;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        if (first < 0 || index.row() < first)
            first = index.row();
    }
    return first;
}

int ImageList::selectedRowCount() const {
    return static_cast<int>(selectionModel()->selectedRows().size());
}

void ImageList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClickedRow();
}

void ImageList::startDrag(Qt::DropActions) {
    Q_EMIT dragStarted();
}

void ImageList::dragEnterEvent(QDragEnterEvent* event) {
    acceptCopyDrop(event);
}

void ImageList::dragMoveEvent(QDragMoveEvent* event) {
    acceptCopyDrop(event);
}

void ImageList::dropEvent(QDropEvent* event) {
    if (acceptCopyDrop(event))
        Q_EMIT filesDropped(droppedPaths(event->mimeData()));
}

} // namespace corvel
