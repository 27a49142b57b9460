#include "choice_dialog.h"

#include <cfenv>
#include <cmath>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

namespace corvel::platform {

namespace {

ChoiceDialog* g_current = nullptr;

// The selection must stay visible when the list loses the focus, so the inactive highlight
// copies the active one.
void keepSelectionVisible(QAbstractItemView* view) {
    QPalette palette = view->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    view->setPalette(palette);
}

void centreOn(QWidget* dialog, QWidget* parent) {
    QRect area;
    if (parent != nullptr)
        area = parent->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (area.isValid())
        dialog->move(area.center() - QPoint(dialog->width() / 2, dialog->height() / 2));
}

} // namespace

int defaultChoiceWidth(const QString& text) {
    return 3 * static_cast<int>(text.size()) + 190;
}

int defaultChoiceHeight(std::size_t rows) {
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double height = std::nearbyint(std::log(static_cast<double>(rows)) * 60.0 + 100.0);
    std::fesetround(previous);
    return static_cast<int>(height);
}

ChoiceDialog::ChoiceDialog(const ChoiceRequest& request, std::vector<ChoiceRow>& rows)
    : m_rows(rows), m_flags(request.flags) {
    const int width = request.width > 0 ? request.width : defaultChoiceWidth(request.text);
    const int height = request.height > 0 ? request.height : defaultChoiceHeight(rows.size());
    setWindowTitle(request.title);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowFlag(Qt::WindowStaysOnTopHint, (m_flags & choice::OnTop) != 0);
    setFixedSize(width, height);

    m_label = new QLabel(request.text, this);
    m_label->setGeometry(0, 5, width, 20);
    m_label->setAlignment(Qt::AlignCenter);

    buildButtons(width, height);
    buildList(width, height);
    addRows();
    bindKeys();
    if (!multiple() && request.defaultRow >= 0 &&
        request.defaultRow < static_cast<int>(m_rows.size()))
        setChosen(request.defaultRow, true);
}

ChoiceDialog::~ChoiceDialog() {
    if (g_current == this)
        g_current = nullptr;
}

ChoiceDialog* ChoiceDialog::current() {
    return g_current;
}

void ChoiceDialog::buildButtons(int width, int height) {
    const bool edges = (m_flags & choice::EdgeButtons) != 0;
    const int y = height - 35;
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setGeometry(edges ? 5 : width / 2 - 90, y, 80, 25);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setGeometry(edges ? width - 85 : width / 2 + 10, y, 80, 25);
    m_cancel->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &ChoiceDialog::attemptAccept);
    connect(m_cancel, &QPushButton::clicked, this, &ChoiceDialog::reject);
}

void ChoiceDialog::buildList(int width, int height) {
    const QRect area(5, 25, width - 10, height - 70);
    if ((m_flags & choice::Tree) != 0) {
        m_tree = new QTreeWidget(this);
        const bool hierarchy = (m_flags & choice::Hierarchy) != 0;
        m_tree->setRootIsDecorated(hierarchy);
        m_tree->setItemsExpandable(hierarchy);
        m_treeChecks = multiple();
        m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    } else if ((m_flags & choice::ListBox) != 0) {
        m_list = new QListWidget(this);
        m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_list->setSelectionMode(multiple() ? QAbstractItemView::MultiSelection
                                            : QAbstractItemView::SingleSelection);
    } else {
        m_tree = new QTreeWidget(this);
        m_tree->setRootIsDecorated(false);
        m_tree->setHeaderLabel(windowTitle());
        m_tree->setColumnWidth(0, width - 20);
        m_tree->setSelectionBehavior(QAbstractItemView::SelectRows);
        m_tree->setSelectionMode(multiple() ? QAbstractItemView::ExtendedSelection
                                            : QAbstractItemView::SingleSelection);
    }
    if (m_tree != nullptr) {
        m_tree->setHeaderHidden(true);
        m_tree->setColumnCount(1);
    }
    QAbstractItemView* view = listView();
    view->setGeometry(area);
    keepSelectionVisible(view);
    connect(view, &QAbstractItemView::doubleClicked, this, &ChoiceDialog::attemptAccept);
}

QAbstractItemView* ChoiceDialog::listView() const {
    if (m_tree != nullptr)
        return m_tree;
    return m_list;
}

void ChoiceDialog::addRows() {
    const bool hierarchy =
        (m_flags & (choice::Tree | choice::Hierarchy)) == (choice::Tree | choice::Hierarchy);
    // In a hierarchy each row hangs below the nearest earlier row one level up.
    std::vector<QTreeWidgetItem*> lastAtLevel;
    for (const ChoiceRow& row : m_rows) {
        if (m_list != nullptr) {
            auto* item = new QListWidgetItem(row.text, m_list);
            if (row.disabled)
                item->setForeground(m_list->palette().brush(QPalette::Disabled, QPalette::Text));
            continue;
        }
        QTreeWidgetItem* parentItem = nullptr;
        if (hierarchy && row.value > 0 && !lastAtLevel.empty()) {
            const std::size_t level =
                std::min(static_cast<std::size_t>(row.value), lastAtLevel.size());
            parentItem = lastAtLevel[level - 1];
        }
        auto* item =
            parentItem != nullptr ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(m_tree);
        item->setText(0, row.text);
        if (row.disabled)
            item->setForeground(0, m_tree->palette().brush(QPalette::Disabled, QPalette::Text));
        if (m_treeChecks)
            item->setCheckState(0, Qt::Unchecked);
        if (hierarchy) {
            const std::size_t depth =
                parentItem != nullptr
                    ? std::min(static_cast<std::size_t>(row.value), lastAtLevel.size())
                    : 0;
            lastAtLevel.resize(depth);
            lastAtLevel.push_back(item);
        }
        m_treeItems.push_back(item);
    }
    if (m_tree != nullptr)
        m_tree->expandAll();
    if (multiple())
        for (std::size_t i = 0; i < m_rows.size(); ++i)
            setChosen(static_cast<int>(i), m_rows[i].value != 0);
}

// The dialog's three keys are taken before the list or a button sees them: item views claim
// Ctrl+A for their own select-all, and Return on a focused Cancel button would otherwise cancel.
bool ChoiceDialog::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride || type == QEvent::KeyPress) {
        const QKeyCombination keys = static_cast<QKeyEvent*>(event)->keyCombination();
        const bool ours = keys == QKeyCombination(Qt::Key_Return) ||
                          keys == QKeyCombination(Qt::Key_Escape) ||
                          keys == QKeyCombination(Qt::CTRL, Qt::Key_A);
        if (ours && type == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        if (ours) {
            if (keys.key() == Qt::Key_Return)
                attemptAccept();
            else if (keys.key() == Qt::Key_Escape)
                reject();
            else
                chooseAll();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ChoiceDialog::bindKeys() {
    for (QWidget* target : {static_cast<QWidget*>(listView()), static_cast<QWidget*>(m_ok),
                            static_cast<QWidget*>(m_cancel), static_cast<QWidget*>(this)})
        target->installEventFilter(this);
}

bool ChoiceDialog::isChosen(int row) const {
    if (m_list != nullptr)
        return m_list->item(row)->isSelected();
    QTreeWidgetItem* item = m_treeItems[static_cast<std::size_t>(row)];
    return m_treeChecks ? item->checkState(0) == Qt::Checked : item->isSelected();
}

void ChoiceDialog::setChosen(int row, bool chosen) {
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    if (m_list != nullptr) {
        if (!multiple() && chosen)
            m_list->setCurrentRow(row);
        m_list->item(row)->setSelected(chosen);
        return;
    }
    QTreeWidgetItem* item = m_treeItems[static_cast<std::size_t>(row)];
    if (m_treeChecks) {
        item->setCheckState(0, chosen ? Qt::Checked : Qt::Unchecked);
        return;
    }
    if (!multiple() && chosen)
        m_tree->setCurrentItem(item);
    item->setSelected(chosen);
}

void ChoiceDialog::chooseAll() {
    if (!multiple())
        return;
    for (int row = static_cast<int>(m_rows.size()) - 1; row >= 0; --row)
        setChosen(row, true);
}

void ChoiceDialog::attemptAccept() {
    if (multiple()) {
        int count = 0;
        for (std::size_t i = 0; i < m_rows.size(); ++i) {
            const bool counts = !m_rows[i].disabled && isChosen(static_cast<int>(i));
            m_rows[i].value = counts ? 1 : 0;
            count += counts ? 1 : 0;
        }
        m_outcome = count;
        if (count > 0 || (m_flags & choice::AllowNone) != 0)
            accept();
        return;
    }
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (!isChosen(static_cast<int>(i)))
            continue;
        if (m_rows[i].disabled)
            return;
        m_outcome = static_cast<int>(i);
        accept();
        return;
    }
}

void ChoiceDialog::reject() {
    m_outcome = choice::Cancelled;
    QDialog::reject();
}

int runChoiceDialog(const ChoiceRequest& request, std::vector<ChoiceRow>& rows,
                    const std::function<int()>& script) {
    if (rows.empty())
        return choice::Cancelled;
    QWidget* parent = request.parent;
    if (parent != nullptr)
        parent->setEnabled(false);
    int result = choice::NotCreated;
    {
        ChoiceDialog dialog(request, rows);
        g_current = &dialog;
        dialog.winId();
        if (parent != nullptr && dialog.windowHandle() != nullptr)
            dialog.windowHandle()->setTransientParent(parent->window()->windowHandle());
        centreOn(&dialog, parent != nullptr ? parent->window() : nullptr);
        if (script) {
            QTimer::singleShot(0, &dialog, [&dialog, &script] {
                script();
                if (dialog.isVisible())
                    dialog.reject();
            });
        }
        dialog.show();
        dialog.activateWindow();
        dialog.listView()->setFocus();
        dialog.exec();
        result = dialog.outcome();
        if (result >= 0 && !dialog.multiple() && (request.flags & choice::ReturnValue) != 0)
            result = rows[static_cast<std::size_t>(result)].value;
    }
    if (parent != nullptr)
        parent->setEnabled(true);
    return result;
}

} // namespace corvel::platform
