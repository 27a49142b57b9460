#pragma once

#include <QString>
#include <QStringList>

namespace corvel {

// Identity of a control of the main window. Controls 0 to 12 carry fixed numbers; the others
// were made without one and are told apart by these extra values.
enum class ControlId {
    ImageList = 0,
    PcExplorer = 1,
    PcPathCombo = 2,
    ImagePathField = 3,
    SelectImageButton = 4,
    FilterField = 5,
    LaunchCustomButton = 6,
    LaunchButton = 7,
    ScreenSizeCombo = 8,
    SoundCombo = 9,
    VsyncCombo = 10,
    JoystickCombo = 11,
    HertzCombo = 12,
    CopyToImageButton = 100,
    CopyToPcButton,
    NewFolderButton,
    DeleteFilesButton,
    ConfigButton,
    LogView,
    ImageTitleLabel,
    FilterLabel,
    None = -1,
};

enum class UiEventKind { ControlEvent, MenuEvent, FilesDropped, CloseRequested, Resized, Other };

enum class ControlEventType {
    None,
    Click,
    RightClick,
    DoubleClick,
    RightDoubleClick,
    Change,
    FolderChosen,
    FocusGained,
    FocusLost,
    DragStart,
};

// One window event as the main loop hands it to the dispatcher.
struct UiEvent {
    UiEventKind eventKind = UiEventKind::Other;
    ControlId control = ControlId::None;
    ControlEventType eventType = ControlEventType::None;
    int menuNumber = 0;
    QStringList droppedPaths; // for FilesDropped: the dropped file paths, native form
};

inline UiEvent controlEvent(ControlId control, ControlEventType type) {
    UiEvent e;
    e.eventKind = UiEventKind::ControlEvent;
    e.control = control;
    e.eventType = type;
    return e;
}

inline UiEvent menuEvent(int number) {
    UiEvent e;
    e.eventKind = UiEventKind::MenuEvent;
    e.menuNumber = number;
    return e;
}

} // namespace corvel
