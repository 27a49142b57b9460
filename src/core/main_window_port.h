#pragma once

#include "platform/application.h"
#include "platform/ui_event.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace corvel {

enum class FieldStyle { Plain, Raised, Borderless };
enum class FieldAlign { Left, Centre, Right };

// What the main window offers the rest of the program. The window itself (widgets) lives in
// ui/; the image browser, file operations, launcher, provisioning and the settings file reach it
// only through this, so none of them depends on the widget code. GUI thread only.
class MainWindowPort {
public:
    virtual ~MainWindowPort() = default;

    virtual QWidget* widget() = 0;
    virtual void layoutOnResize() = 0;
    virtual void buildPopupMenu(const QString& imagePath) = 0;
    virtual void setAcceptsInput(bool accepts) = 0;
    virtual void setCursor(platform::WindowCursor cursor) = 0;

    // Activity log and status bar.
    virtual void logLine(const QString& text) = 0;
    virtual void setStatusText(int field, const QString& text, FieldStyle style = FieldStyle::Plain,
                               FieldAlign align = FieldAlign::Left) = 0;
    virtual void setStatusProgress(int field, qint64 value, FieldStyle style,
                                   std::optional<qint64> minimum = std::nullopt,
                                   std::optional<qint64> maximum = std::nullopt) = 0;

    // The image list (control 0), its title label and the image path field (control 3).
    virtual void clearImageRows() = 0;
    virtual int appendImageRow(const QStringList& cells) = 0;
    virtual void setImageRowColor(int row, const QColor& color) = 0;
    virtual int imageRowCount() const = 0;
    virtual QString imageCell(int row, int column) const = 0;
    virtual bool imageRowSelected(int row) const = 0;
    virtual int firstSelectedImageRow() const = 0; // -1 when none
    virtual int selectedImageRowCount() const = 0;
    virtual void setImageTitle(const QString& text) = 0;
    virtual void setImagePathText(const QString& text) = 0;
    virtual QString imagePathText() const = 0;
    virtual void setImageListAcceptsDrops(bool accepts) = 0;

    // The PC explorer (control 1): its folder always ends with the separator.
    virtual QString explorerFolder() const = 0;
    virtual void setExplorerText(const QString& text) = 0;
    virtual int explorerEntryCount() const = 0;
    virtual QString explorerEntryName(int index) const = 0;
    virtual bool explorerEntrySelected(int index) const = 0;
    virtual int firstSelectedExplorerEntry() const = 0;
    virtual void setExplorerColumnWidth(int column, int width) = 0;
    virtual void setExplorerAcceptsDrops(bool accepts) = 0;

    // The path combo (control 2) and the filter field (control 5).
    virtual QString pathComboText() const = 0;
    virtual void setPathComboText(const QString& folder) = 0;
    virtual QString filterText() const = 0;
    virtual void bindEnterToMenu(int menuNumber) = 0;
    virtual void unbindEnter() = 0;

    // Option combos 8 to 12 by selected index (-1 for none) and the "LaunchCustom" button.
    virtual int comboIndex(ControlId combo) const = 0;
    virtual void setComboIndex(ControlId combo, int index) = 0;
    virtual void setLaunchCustomVisible(bool visible) = 0;
    virtual bool launchCustomVisible() const = 0;

    // Starts a drag of file paths with the copy action.
    virtual void startFileDrag(const QStringList& paths) = 0;

    // Appends an image list row already in its text colour: a listing of thousands of entries
    // then changes each row once instead of once more per cell for the colour.
    virtual int appendColoredImageRow(const QStringList& cells, const QColor& color) = 0;
};

} // namespace corvel
