#include "pc_explorer.h"

#include "drop_paths.h"
#include "platform/files.h"

#include <algorithm>
#include <QDateTime>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QStandardItemModel>

namespace corvel {

namespace {
constexpr int FolderRole = Qt::UserRole + 1;
constexpr int SortKeyRole = Qt::UserRole + 2;

QList<QStandardItem*> makeRow(const QString& name, bool isFolder, const QFileInfo* info) {
    auto* nameItem = new QStandardItem(name);
    nameItem->setData(isFolder, FolderRole);
    auto* sizeItem = new QStandardItem();
    auto* typeItem = new QStandardItem();
    auto* modifiedItem = new QStandardItem();
    if (info != nullptr) {
        if (!isFolder) {
            sizeItem->setText(QString::number((info->size() + 1023) / 1024) +
                              QStringLiteral(" KB"));
            sizeItem->setData(info->size(), SortKeyRole);
            const QString suffix = info->suffix();
            typeItem->setText(suffix.isEmpty() ? QStringLiteral("File")
                                               : suffix.toUpper() + QStringLiteral(" File"));
        } else {
            typeItem->setText(QStringLiteral("File folder"));
        }
        modifiedItem->setText(info->lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm")));
        modifiedItem->setData(info->lastModified().toMSecsSinceEpoch(), SortKeyRole);
    }
    for (QStandardItem* item : {nameItem, sizeItem, typeItem, modifiedItem})
        item->setEditable(false);
    return {nameItem, sizeItem, typeItem, modifiedItem};
}

bool matchesAny(const QString& name, const QList<QRegularExpression>& patterns) {
    if (patterns.isEmpty())
        return true;
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const QRegularExpression& re) { return re.match(name).hasMatch(); });
}

QList<QRegularExpression> compilePatterns(const QString& pattern) {
    QList<QRegularExpression> out;
    for (const QString& p : pattern.split(u';', Qt::SkipEmptyParts)) {
        out << QRegularExpression(QRegularExpression::wildcardToRegularExpression(
                                      p, QRegularExpression::UnanchoredWildcardConversion),
                                  QRegularExpression::CaseInsensitiveOption);
        out.back().setPattern(QStringLiteral("\\A(?:") + out.back().pattern() +
                              QStringLiteral(")\\z"));
    }
    return out;
}
} // namespace

PcExplorer::PcExplorer(QWidget* parent)
    : QTableView(parent), m_model(new QStandardItemModel(0, 4, this)),
      m_watcher(new QFileSystemWatcher(this)) {
    m_model->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size"),
                                        QStringLiteral("Type"), QStringLiteral("Modified")});
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(true);
    setFrameShape(QFrame::NoFrame);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setAcceptDrops(false);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->resizeSection(TypeColumn, 100);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &PcExplorer::sortByHeader);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { fill(); });
    openFolder(QDir::currentPath());
}

void PcExplorer::setText(const QString& text) {
    const QString native = QDir::toNativeSeparators(text);
    const qsizetype cut = native.lastIndexOf(QDir::separator());
    if (cut < 0) {
        if (native.isEmpty())
            openFolder(QString());
        return;
    }
    m_pattern = native.mid(cut + 1);
    openFolder(native.left(cut + 1));
}

void PcExplorer::openFolder(const QString& folder) {
    if (!m_watcher->directories().isEmpty())
        m_watcher->removePaths(m_watcher->directories());
    m_folder = folder.isEmpty() ? QString() : platform::asFolderPath(folder);
    if (!m_folder.isEmpty())
        m_watcher->addPath(m_folder);
    fill();
}

void PcExplorer::fill() {
    QStringList selectedNames;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        selectedNames << m_model->item(index.row())->text();
    m_model->removeRows(0, m_model->rowCount());
    if (m_folder.isEmpty())
        fillVolumes();
    else
        fillFolder();
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (selectedNames.contains(m_model->item(row)->text()))
            selectionModel()->select(m_model->index(row, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

void PcExplorer::fillVolumes() {
    for (const QString& folder : platform::mountedVolumeFolders())
        m_model->appendRow(makeRow(folder, true, nullptr));
}

void PcExplorer::fillFolder() {
    m_model->appendRow(makeRow(QStringLiteral(".."), true, nullptr));
    const QDir dir(m_folder);
    QFileInfoList folders = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot);
    QFileInfoList files = dir.entryInfoList(QDir::Files);
    const auto patterns = compilePatterns(m_pattern);
    const auto key = [this](const QFileInfo& info) -> QVariant {
        switch (m_sortColumn) {
        case SizeColumn:
            return info.size();
        case TypeColumn:
            return info.suffix().toLower();
        case ModifiedColumn:
            return info.lastModified().toMSecsSinceEpoch();
        default:
            return info.fileName().toLower();
        }
    };
    const auto less = [&](const QFileInfo& a, const QFileInfo& b) {
        const QVariant ka = key(a);
        const QVariant kb = key(b);
        const int c = QVariant::compare(ka, kb) == QPartialOrdering::Less      ? -1
                      : QVariant::compare(ka, kb) == QPartialOrdering::Greater ? 1
                                                                               : 0;
        const int byName = a.fileName().compare(b.fileName(), Qt::CaseInsensitive);
        const int order = c != 0 ? c : byName;
        return m_sortOrder == Qt::AscendingOrder ? order < 0 : order > 0;
    };
    std::stable_sort(folders.begin(), folders.end(), less);
    std::stable_sort(files.begin(), files.end(), less);
    for (const QFileInfo& info : folders)
        m_model->appendRow(makeRow(info.fileName(), true, &info));
    for (const QFileInfo& info : files) {
        if (matchesAny(info.fileName(), patterns))
            m_model->appendRow(makeRow(info.fileName(), false, &info));
    }
}

void PcExplorer::sortByHeader(int column) {
    if (column == m_sortColumn)
        m_sortOrder = m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    else
        m_sortOrder = Qt::AscendingOrder;
    m_sortColumn = column;
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(column, m_sortOrder);
    fill();
}

int PcExplorer::entryCount() const {
    return m_model->rowCount();
}

QString PcExplorer::entryName(int index) const {
    if (index < 0 || index >= m_model->rowCount())
        return {};
    return m_model->item(index)->text();
}

bool PcExplorer::entrySelected(int index) const {
    return selectionModel()->isRowSelected(index, QModelIndex());
}

int PcExplorer::firstSelectedEntry() const {
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (entrySelected(row))
            return row;
    }
    return -1;
}

bool PcExplorer::entryIsFolder(int index) const {
    if (index < 0 || index >= m_model->rowCount())
        return false;
    return m_model->item(index)->data(FolderRole).toBool();
}

void PcExplorer::activate(int row) {
    if (row < 0)
        return;
    const QString name = entryName(row);
    if (!entryIsFolder(row)) {
        Q_EMIT fileActivated();
        return;
    }
    if (m_folder.isEmpty()) {
        m_pattern.clear();
        openFolder(name);
    } else if (name == QStringLiteral("..")) {
        QDir dir(m_folder);
        // ".." of the file system's root leads to the list of volumes.
        openFolder(dir.cdUp() ? dir.absolutePath() : QString());
    } else {
        openFolder(m_folder + name);
    }
    Q_EMIT folderChanged();
}

void PcExplorer::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        activate(currentIndex().isValid() ? currentIndex().row() : firstSelectedEntry());
        return;
    }
    QTableView::keyPressEvent(event);
}

void PcExplorer::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT clickedEntry();
    else if (event->button() == Qt::RightButton)
        Q_EMIT rightClicked();
}

void PcExplorer::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        Q_EMIT rightDoubleClicked();
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        activate(index.row());
}

void PcExplorer::startDrag(Qt::DropActions) {
    Q_EMIT dragStarted();
}

void PcExplorer::dragEnterEvent(QDragEnterEvent* event) {
    acceptCopyDrop(event);
}

void PcExplorer::dragMoveEvent(QDragMoveEvent* event) {
    acceptCopyDrop(event);
}

void PcExplorer::dropEvent(QDropEvent* event) {
    if (acceptCopyDrop(event))
        Q_EMIT filesDropped(droppedPaths(event->mimeData()));
}

} // namespace corvel
