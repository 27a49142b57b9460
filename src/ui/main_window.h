#pragma once

#include "core/main_window_port.h"
#include "platform/event_queue.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QShortcut;

namespace corvel {

class ImageList;
class PathCombo;
class PcExplorer;
class StatusBar;

// The one top-level window and all its controls. Its widgets turn what the user does into
// UiEvents on the application's queue; the main loop hands them to the dispatcher.
class MainWindow final : public QWidget, public MainWindowPort {
    Q_OBJECT
public:
    MainWindow(platform::UiEventQueue& events, int width, int height);
    ~MainWindow() override;

    // MainWindowPort
    QWidget* widget() override { return this; }
    void layoutOnResize() override;
    void buildPopupMenu(const QString& imagePath) override;
    void setAcceptsInput(bool accepts) override;
    void setCursor(platform::WindowCursor cursor) override;
    void logLine(const QString& text) override;
    void setStatusText(int field, const QString& text, FieldStyle style, FieldAlign align) override;
    void setStatusProgress(int field, qint64 value, FieldStyle style, std::optional<qint64> minimum,
                           std::optional<qint64> maximum) override;
    void clearImageRows() override;
    int appendImageRow(const QStringList& cells) override;
    void setImageRowColor(int row, const QColor& color) override;
    int imageRowCount() const override;
    QString imageCell(int row, int column) const override;
    bool imageRowSelected(int row) const override;
    int firstSelectedImageRow() const override;
    int selectedImageRowCount() const override;
    void setImageTitle(const QString& text) override;
    void setImagePathText(const QString& text) override;
    QString imagePathText() const override;
    void setImageListAcceptsDrops(bool accepts) override;
    QString explorerFolder() const override;
    void setExplorerText(const QString& text) override;
    int explorerEntryCount() const override;
    QString explorerEntryName(int index) const override;
    bool explorerEntrySelected(int index) const override;
    int firstSelectedExplorerEntry() const override;
    void setExplorerColumnWidth(int column, int width) override;
    void setExplorerAcceptsDrops(bool accepts) override;
    QString pathComboText() const override;
    void setPathComboText(const QString& folder) override;
    QString filterText() const override;
    void bindEnterToMenu(int menuNumber) override;
    void unbindEnter() override;
    int comboIndex(ControlId combo) const override;
    void setComboIndex(ControlId combo, int index) override;
    void setLaunchCustomVisible(bool visible) override;
    bool launchCustomVisible() const override;
    void startFileDrag(const QStringList& paths) override;
    int appendColoredImageRow(const QStringList& cells, const QColor& color) override;

    // The controls, for the event wiring and for tests that drive the real widgets.
    QWidget* control(ControlId id) const;
    ImageList* imageList() const { return m_imageList; }
    PcExplorer* pcExplorer() const { return m_pcExplorer; }
    PathCombo* pathCombo() const { return m_pathCombo; }
    StatusBar* statusBar() const { return m_statusBar; }
    QPlainTextEdit* logView() const { return m_logView; }
    QMenu* imageContextMenu() const { return m_imageMenu; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void centreOnScreen();
    void createControls();
    void createOptionCombos();
    void createButtons();
    void wireEvents();
    void wireListEvents();
    void showImageContextMenu();
    QComboBox* combo(ControlId id) const;
    void post(ControlId control, ControlEventType type);

    platform::UiEventQueue& m_events;
    StatusBar* m_statusBar = nullptr;
    ImageList* m_imageList = nullptr;
    PcExplorer* m_pcExplorer = nullptr;
    PathCombo* m_pathCombo = nullptr;
    QLineEdit* m_imagePathField = nullptr;
    QPushButton* m_selectImageButton = nullptr;
    QLineEdit* m_filterField = nullptr;
    QLabel* m_filterLabel = nullptr;
    QPushButton* m_launchCustomButton = nullptr;
    QPushButton* m_launchButton = nullptr;
    QComboBox* m_optionCombos[5] = {};
    QPushButton* m_copyToImageButton = nullptr;
    QPushButton* m_copyToPcButton = nullptr;
    QPushButton* m_newFolderButton = nullptr;
    QPushButton* m_deleteFilesButton = nullptr;
    QPushButton* m_configButton = nullptr;
    QPlainTextEdit* m_logView = nullptr;
    QLabel* m_imageTitleLabel = nullptr;
    QMenu* m_imageMenu = nullptr;
    QShortcut* m_enterReturn = nullptr;
    QShortcut* m_enterKeypad = nullptr;
    bool m_announcedSize = false;
};

} // namespace corvel
