#include "main_window.h"

#include "activity_log.h"
#include "drop_paths.h"
#include "image_list.h"
#include "path_combo.h"
#include "pc_explorer.h"
#include "platform/fonts.h"
#include "status_bar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDrag>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

namespace corvel {

namespace {
constexpr int FirstComboNumber = static_cast<int>(ControlId::ScreenSizeCombo);

template <typename W> W* placed(W* widget, int x, int y, int w, int h, int font = -1) {
    widget->setGeometry(x, y, w, h);
    if (font >= 0)
        widget->setFont(platform::fontByNumber(font));
    return widget;
}
} // namespace

MainWindow::MainWindow(platform::UiEventQueue& events, int width, int height)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      m_events(events) {
    setWindowTitle(QStringLiteral("Corvel 1.3"));
    // The controls without a font of their own use the desktop's dialog font, at the small size
    // dialog fonts have, so the captions fit the fixed control sizes of the layout.
    QFont dialogFont = QApplication::font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    setFixedSize(width, height);
    createControls();
    wireEvents();
    show();
    centreOnScreen();
}

// The frame is known only once the window is shown; the whole window, frame included, is what
// is centred.
void MainWindow::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    m_statusBar = new StatusBar(this);
    m_statusBar->setGeometry(0, height() - StatusBar::Height, width(), StatusBar::Height);
    m_statusBar->setText(0, QStringLiteral("Ready"), FieldStyle::Borderless, FieldAlign::Left);
    m_statusBar->setProgress(1, 0, FieldStyle::Plain, 0, 100);
    m_statusBar->setText(2, QStringLiteral("Waiting"), FieldStyle::Plain, FieldAlign::Left);

    m_imageList = placed(new ImageList(this), 530, 90, 430, 450, 0);
    m_pcExplorer = placed(new PcExplorer(this), 10, 120, 450, 380);
    m_pathCombo = placed(new PathCombo(this), 10, 70, 200, 35);
    m_imagePathField = placed(new QLineEdit(QStringLiteral("HDF File"), this), 10, 20, 730, 35, 1);
    m_selectImageButton =
        placed(new QPushButton(QStringLiteral("Select Disk Image"), this), 780, 20, 160, 35);
    m_filterField = placed(new QLineEdit(this), 290, 70, 170, 35, 1);
    m_filterLabel = placed(new QLabel(QStringLiteral("FILTER : "), this), 220, 85, 50, 20, 2);
    m_launchCustomButton =
        placed(new QPushButton(QStringLiteral("LaunchCustom"), this), 790, 590, 120, 40);
    m_launchButton = placed(new QPushButton(QStringLiteral("Launch"), this), 10, 600, 100, 25);
    createOptionCombos();
    createButtons();
    m_logView = placed(new QPlainTextEdit(this), 10, 510, 450, 80, 5);
    m_logView->setReadOnly(true);
    m_logView->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_logView->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_imageTitleLabel =
        placed(new QLabel(QStringLiteral("Disk Image Explorer"), this), 530, 70, 430, 20, 6);
}

void MainWindow::createOptionCombos() {
    const QStringList entries[5] = {
        {QStringLiteral("Screen Size X1"), QStringLiteral("Screen Size X2"),
         QStringLiteral("Screen Size X3")},
        {QStringLiteral("Sound On"), QStringLiteral("Sound Off")},
        {QStringLiteral("Vsync On"), QStringLiteral("Vsync Off")},
        {QStringLiteral("Joystick On"), QStringLiteral("Joystick Off")},
        {QStringLiteral("50Hz"), QStringLiteral("60Hz")},
    };
    const int defaults[5] = {1, 0, 0, 0, 0};
    for (int i = 0; i < 5; ++i) {
        m_optionCombos[i] = placed(new QComboBox(this), 130 + 120 * i, 600, 100, 25);
        m_optionCombos[i]->addItems(entries[i]);
        // A narrow arrow and padding, so "Screen Size X2" fits the fixed width of 100.
        m_optionCombos[i]->setStyleSheet(QStringLiteral("QComboBox { padding: 1px 0px 1px 3px; }"
                                                        "QComboBox::drop-down { width: 14px; }"));
        m_optionCombos[i]->setCurrentIndex(defaults[i]);
    }
}

void MainWindow::createButtons() {
    m_copyToImageButton =
        placed(new QPushButton(QStringLiteral(">>>>"), this), 470, 270, 50, 40, 3);
    m_copyToPcButton = placed(new QPushButton(QStringLiteral("<<<<"), this), 470, 320, 50, 40);
    m_newFolderButton =
        placed(new QPushButton(QStringLiteral("New Folder"), this), 620, 550, 120, 30, 4);
    m_deleteFilesButton =
        placed(new QPushButton(QStringLiteral("Delete Files"), this), 750, 550, 120, 30, 4);
    m_configButton = placed(new QPushButton(QStringLiteral("CFG"), this), 920, 590, 40, 40);
}

QWidget* MainWindow::control(ControlId id) const {
    switch (id) {
    case ControlId::ImageList:
        return m_imageList;
    case ControlId::PcExplorer:
        return m_pcExplorer;
    case ControlId::PcPathCombo:
        return m_pathCombo;
    case ControlId::ImagePathField:
        return m_imagePathField;
    case ControlId::SelectImageButton:
        return m_selectImageButton;
    case ControlId::FilterField:
        return m_filterField;
    case ControlId::LaunchCustomButton:
        return m_launchCustomButton;
    case ControlId::LaunchButton:
        return m_launchButton;
    case ControlId::ScreenSizeCombo:
    case ControlId::SoundCombo:
    case ControlId::VsyncCombo:
    case ControlId::JoystickCombo:
    case ControlId::HertzCombo:
        return combo(id);
    case ControlId::CopyToImageButton:
        return m_copyToImageButton;
    case ControlId::CopyToPcButton:
        return m_copyToPcButton;
    case ControlId::NewFolderButton:
        return m_newFolderButton;
    case ControlId::DeleteFilesButton:
        return m_deleteFilesButton;
    case ControlId::ConfigButton:
        return m_configButton;
    case ControlId::LogView:
        return m_logView;
    case ControlId::ImageTitleLabel:
        return m_imageTitleLabel;
    case ControlId::FilterLabel:
        return m_filterLabel;
    case ControlId::None:
        break;
    }
    return nullptr;
}

QComboBox* MainWindow::combo(ControlId id) const {
    const int i = static_cast<int>(id) - FirstComboNumber;
    return i >= 0 && i < 5 ? m_optionCombos[i] : nullptr;
}

void MainWindow::post(ControlId control, ControlEventType type) {
    m_events.post(controlEvent(control, type));
}

void MainWindow::wireEvents() {
    const std::pair<QPushButton*, ControlId> buttons[] = {
        {m_selectImageButton, ControlId::SelectImageButton},
        {m_launchCustomButton, ControlId::LaunchCustomButton},
        {m_launchButton, ControlId::LaunchButton},
        {m_copyToImageButton, ControlId::CopyToImageButton},
        {m_copyToPcButton, ControlId::CopyToPcButton},
        {m_newFolderButton, ControlId::NewFolderButton},
        {m_deleteFilesButton, ControlId::DeleteFilesButton},
        {m_configButton, ControlId::ConfigButton},
    };
    for (const auto& [button, id] : buttons)
        connect(button, &QPushButton::clicked, this,
                [this, id] { post(id, ControlEventType::Click); });
    for (int i = 0; i < 5; ++i) {
        const auto id = static_cast<ControlId>(FirstComboNumber + i);
        connect(m_optionCombos[i], &QComboBox::activated, this,
                [this, id] { post(id, ControlEventType::Change); });
    }
    connect(m_pathCombo, &PathCombo::folderChosen, this,
            [this] { post(ControlId::PcPathCombo, ControlEventType::FolderChosen); });
    m_filterField->installEventFilter(this);
    wireListEvents();
}

void MainWindow::wireListEvents() {
    const auto explorer = ControlId::PcExplorer;
    connect(m_pcExplorer, &PcExplorer::clickedEntry, this,
            [=, this] { post(explorer, ControlEventType::Click); });
    connect(m_pcExplorer, &PcExplorer::rightClicked, this,
            [=, this] { post(explorer, ControlEventType::RightClick); });
    connect(m_pcExplorer, &PcExplorer::rightDoubleClicked, this,
            [=, this] { post(explorer, ControlEventType::RightDoubleClick); });
    connect(m_pcExplorer, &PcExplorer::folderChanged, this,
            [=, this] { post(explorer, ControlEventType::Change); });
    connect(m_pcExplorer, &PcExplorer::fileActivated, this,
            [=, this] { post(explorer, ControlEventType::DoubleClick); });
    connect(m_pcExplorer, &PcExplorer::dragStarted, this,
            [=, this] { post(explorer, ControlEventType::DragStart); });
    const auto images = ControlId::ImageList;
    connect(m_imageList, &ImageList::doubleClickedRow, this,
            [=, this] { post(images, ControlEventType::DoubleClick); });
    connect(m_imageList, &ImageList::dragStarted, this,
            [=, this] { post(images, ControlEventType::DragStart); });
    connect(m_imageList, &QWidget::customContextMenuRequested, this,
            [this] { showImageContextMenu(); });
    const auto dropOn = [this](ControlId id) {
        return [this, id](const QStringList& paths) {
            UiEvent e;
            e.eventKind = UiEventKind::FilesDropped;
            e.control = id;
            e.droppedPaths = paths;
            m_events.post(std::move(e));
        };
    };
    connect(m_imageList, &ImageList::filesDropped, this, dropOn(ControlId::ImageList));
    connect(m_pcExplorer, &PcExplorer::filesDropped, this, dropOn(ControlId::PcExplorer));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_filterField) {
        if (event->type() == QEvent::FocusIn)
            post(ControlId::FilterField, ControlEventType::FocusGained);
        else if (event->type() == QEvent::FocusOut)
            post(ControlId::FilterField, ControlEventType::FocusLost);
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The main loop decides; the window stays until the loop has ended and settings are saved.
    event->ignore();
    m_events.post(
        UiEvent{UiEventKind::CloseRequested, ControlId::None, ControlEventType::None, 0, {}});
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_announcedSize) {
        m_announcedSize = true;
        m_events.post(
            UiEvent{UiEventKind::Resized, ControlId::None, ControlEventType::None, 0, {}});
    }
}

// A fixed-size window changes size only when it comes back from being minimised; minimising
// itself announces nothing.
void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    if ((change->oldState() & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized))
        m_events.post(
            UiEvent{UiEventKind::Resized, ControlId::None, ControlEventType::None, 0, {}});
}

void MainWindow::layoutOnResize() {
    const int w = width();
    const int h = height();
    const int s = m_statusBar->height();
    m_imageList->setGeometry(w - 440, 90, 430, h - s - 187);
    m_pcExplorer->setGeometry(10, 120, w - 520, h - s - 257);
}

void MainWindow::buildPopupMenu(const QString& imagePath) {
    m_imagePathField->setText(imagePath);
    m_imageMenu = new QMenu(this);
    const std::pair<int, const char*> entries[] = {
        {300, "Launch"}, {301, "View/Edit Notepad"}, {0, nullptr}, {303, "Delete"}};
    for (const auto& [number, caption] : entries) {
        if (caption == nullptr) {
            m_imageMenu->addSeparator();
            continue;
        }
        QAction* action = m_imageMenu->addAction(QString::fromLatin1(caption));
        connect(action, &QAction::triggered, this,
                [this, n = number] { m_events.post(menuEvent(n)); });
    }
}

void MainWindow::showImageContextMenu() {
    if (m_imageMenu == nullptr)
        return;
    raise();
    activateWindow();
    m_imageMenu->popup(QCursor::pos() - QPoint(1, 1));
}

void MainWindow::setAcceptsInput(bool accepts) {
    setEnabled(accepts);
}

void MainWindow::setCursor(platform::WindowCursor cursor) {
    platform::setWindowCursor(this, cursor);
}

void MainWindow::logLine(const QString& text) {
    appendToLog(m_logView, text);
}

void MainWindow::setStatusText(int field, const QString& text, FieldStyle style, FieldAlign align) {
    m_statusBar->setText(field, text, style, align);
}

void MainWindow::setStatusProgress(int field, qint64 value, FieldStyle style,
                                   std::optional<qint64> minimum, std::optional<qint64> maximum) {
    m_statusBar->setProgress(field, value, style, minimum, maximum);
}

void MainWindow::clearImageRows() {
    m_imageList->setRowCount(0);
}
int MainWindow::appendImageRow(const QStringList& cells) {
    return m_imageList->appendRow(cells);
}
int MainWindow::appendColoredImageRow(const QStringList& cells, const QColor& color) {
    return m_imageList->appendRow(cells, color);
}
void MainWindow::setImageRowColor(int row, const QColor& color) {
    m_imageList->setRowColor(row, color);
}
int MainWindow::imageRowCount() const {
    return m_imageList->rowCount();
}
QString MainWindow::imageCell(int row, int column) const {
    return m_imageList->cell(row, column);
}
bool MainWindow::imageRowSelected(int row) const {
    return m_imageList->rowSelected(row);
}
int MainWindow::firstSelectedImageRow() const {
    return m_imageList->firstSelectedRow();
}
int MainWindow::selectedImageRowCount() const {
    return m_imageList->selectedRowCount();
}
void MainWindow::setImageTitle(const QString& text) {
    m_imageTitleLabel->setText(text);
}
void MainWindow::setImagePathText(const QString& text) {
    m_imagePathField->setText(text);
}
QString MainWindow::imagePathText() const {
    return m_imagePathField->text();
}
void MainWindow::setImageListAcceptsDrops(bool accepts) {
    m_imageList->setAcceptDrops(accepts);
}

QString MainWindow::explorerFolder() const {
    return m_pcExplorer->folder();
}
void MainWindow::setExplorerText(const QString& text) {
    m_pcExplorer->setText(text);
}
int MainWindow::explorerEntryCount() const {
    return m_pcExplorer->entryCount();
}
QString MainWindow::explorerEntryName(int index) const {
    return m_pcExplorer->entryName(index);
}
bool MainWindow::explorerEntrySelected(int index) const {
    return m_pcExplorer->entrySelected(index);
}
int MainWindow::firstSelectedExplorerEntry() const {
    return m_pcExplorer->firstSelectedEntry();
}
void MainWindow::setExplorerColumnWidth(int column, int width) {
    m_pcExplorer->horizontalHeader()->resizeSection(column, width);
}
void MainWindow::setExplorerAcceptsDrops(bool accepts) {
    m_pcExplorer->setAcceptDrops(accepts);
}

QString MainWindow::pathComboText() const {
    return m_pathCombo->text();
}
void MainWindow::setPathComboText(const QString& folder) {
    m_pathCombo->setText(folder);
}
QString MainWindow::filterText() const {
    return m_filterField->text();
}

// The Enter key of the window fires a menu number; binding again replaces the old binding.
void MainWindow::bindEnterToMenu(int menuNumber) {
    unbindEnter();
    m_enterReturn = new QShortcut(QKeySequence(Qt::Key_Return), this);
    m_enterKeypad = new QShortcut(QKeySequence(Qt::Key_Enter), this);
    for (QShortcut* shortcut : {m_enterReturn, m_enterKeypad})
        connect(shortcut, &QShortcut::activated, this,
                [this, menuNumber] { m_events.post(menuEvent(menuNumber)); });
}

void MainWindow::unbindEnter() {
    delete m_enterReturn;
    delete m_enterKeypad;
    m_enterReturn = nullptr;
    m_enterKeypad = nullptr;
}

int MainWindow::comboIndex(ControlId id) const {
    const QComboBox* c = combo(id);
    return c != nullptr ? c->currentIndex() : -1;
}

void MainWindow::setComboIndex(ControlId id, int index) {
    QComboBox* c = combo(id);
    if (c != nullptr)
        c->setCurrentIndex(index >= 0 && index < c->count() ? index : -1);
}

void MainWindow::setLaunchCustomVisible(bool visible) {
    m_launchCustomButton->setVisible(visible);
}
bool MainWindow::launchCustomVisible() const {
    return !m_launchCustomButton->isHidden();
}

void MainWindow::startFileDrag(const QStringList& paths) {
    auto* drag = new QDrag(this);
    drag->setMimeData(makeFileDragData(paths));
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

} // namespace corvel
