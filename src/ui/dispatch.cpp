#include "dispatch.h"

#include "core/path_helpers.h"
#include "core/settings.h"
#include "imagetool/file_operations.h"
#include "imagetool/image_browser.h"
#include "launcher/emulator_launch.h"

namespace corvel {

namespace {

void dispatchMenu(AppState& state, int number) {
    switch (number) {
    case FilterEnterMenuNumber:
        applyExplorerFilter(state);
        break;
    case 300:
    case 301:
        viewEntryInEditor(state);
        break;
    case 303:
        deleteSelectedEntries(state);
        break;
    default:
        break;
    }
}

// A double-click on a file of the explorer: a "nex" program starts in the emulator, anything
// else opens with the desktop's program for it.
void launchExplorerFile(AppState& state) {
    MainWindowPort& w = *state.window;
    const QString name = w.explorerEntryName(w.firstSelectedExplorerEntry());
    const QString folder = w.explorerFolder();
    if (extensionPart(name).toLower() == QStringLiteral("nex"))
        launchNexFile(state, folder, name);
    else
        openWithAssociation(state, folder, name);
}

void dispatchExplorer(AppState& state, ControlEventType type) {
    state.window->setPathComboText(state.window->explorerFolder());
    if (type == ControlEventType::DoubleClick)
        launchExplorerFile(state);
}

void dispatchFilterFocus(AppState& state, ControlEventType type) {
    if (type == ControlEventType::FocusGained)
        state.window->bindEnterToMenu(FilterEnterMenuNumber);
    else if (type == ControlEventType::FocusLost)
        state.window->unbindEnter();
}

void dispatchControl(AppState& state, const UiEvent& event) {
    const ControlEventType type = event.eventType;
    switch (event.control) {
    case ControlId::PcPathCombo:
        if (type == ControlEventType::FolderChosen)
            state.window->setExplorerText(state.window->pathComboText());
        break;
    case ControlId::SelectImageButton:
        selectDiskImage(state);
        state.window->logLine(QStringLiteral("Selected Disk Image : ") + state.imagePath);
        break;
    case ControlId::FilterField:
        dispatchFilterFocus(state, type);
        break;
    case ControlId::PcExplorer:
        dispatchExplorer(state, type);
        break;
    case ControlId::ImageList:
        if (type == ControlEventType::DoubleClick)
            openImageRow(state);
        break;
    case ControlId::ConfigButton:
        editSettings(state);
        break;
    case ControlId::CopyToImageButton:
        copySelectionToImage(state);
        break;
    case ControlId::CopyToPcButton:
        copyEntryToPc(state);
        break;
    case ControlId::DeleteFilesButton:
        deleteSelectedEntries(state);
        break;
    case ControlId::NewFolderButton:
        createImageFolder(state);
        break;
    case ControlId::LaunchButton:
        launchNextZXOS(state);
        break;
    case ControlId::LaunchCustomButton:
        launchCustom(state);
        break;
    default:
        break;
    }
}

void dispatchDrop(AppState& state, const UiEvent& event) {
    if (event.control == ControlId::ImageList)
        putDroppedFiles(state, event.droppedPaths);
    else if (event.control == ControlId::PcExplorer)
        getSelectedEntries(state);
}

} // namespace

bool handleEvent(AppState& state, const UiEvent& event) {
    switch (event.eventKind) {
    case UiEventKind::CloseRequested:
        return false;
    case UiEventKind::Resized:
        state.window->layoutOnResize();
        break;
    case UiEventKind::MenuEvent:
        dispatchMenu(state, event.menuNumber);
        break;
    case UiEventKind::ControlEvent:
        if (event.eventType == ControlEventType::DragStart &&
            (event.control == ControlId::ImageList || event.control == ControlId::PcExplorer))
            startListDrag(state, event.control);
        dispatchControl(state, event);
        break;
    case UiEventKind::FilesDropped:
        dispatchDrop(state, event);
        break;
    case UiEventKind::Other:
        break;
    }
    return true;
}

// The explorer stays in its folder and lists only the files whose names contain the filter
// text; the folder never carries a pattern, so a second filter replaces the first.
void applyExplorerFilter(AppState& state) {
    const QString filter = state.window->filterText();
    const QString folder = state.window->explorerFolder();
    state.window->setExplorerText(folder + u'*' + filter + u'*');
}

} // namespace corvel
