#include "prerequisites.h"

#include "choices.h"
#include "download_wait.h"
#include "endpoints.h"
#include "platform/busy_window.h"
#include "platform/dialogs.h"
#include "platform/files.h"

#include <optional>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvel {

namespace {

const QString kErrorTitle = QStringLiteral("ERROR");
const QString kDefaultZip = QStringLiteral("CSpect2_15_01.zip");
constexpr int kSizeDialogFlags = 0x044; // multiple choice, above all windows

void status(AppState& state, const QString& text) {
    state.window->setStatusText(2, text);
}
void log(AppState& state, const QString& text) {
    state.window->logLine(text);
}
void cursor(AppState& state, platform::WindowCursor shape) {
    state.window->setCursor(shape);
}

// Archives of the emulator ship "CSpect.exe" for "cspect.exe"; on a file system that tells
// letter case apart the name is looked for again in its folder, ignoring case.
bool presentIgnoringCase(const QString& path) {
    if (platform::pathKind(path) != platform::PathKind::Missing)
        return true;
    const QFileInfo info(path);
    const QDir folder = info.dir();
    if (path.isEmpty() || !folder.exists())
        return false;
    const QStringList names = folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        if (name.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// The unpacker's argument line exactly as the log and the platform's stand-in expect it; a
// folder path ends with the separator, so the destination holds two of them.
QString unpackArguments(const AppState& state, const QString& archivePiece, const QString& middle,
                        const QString& folder) {
    return QStringLiteral("-nologo -noprofile -command \"Expand-Archive -Path ") + archivePiece +
           middle + state.startDir + QDir::separator() + folder + QDir::separator() +
           QStringLiteral(" -Force\"");
}

void unpack(AppState& state, const QString& arguments) {
    if (state.ops.runTool)
        state.ops.runTool(state, QStringLiteral("powershell.exe"), arguments, Quiet, QString());
}

int waitShown(AppState& state, std::unique_ptr<DownloadTransfer>& transfer, qint64 length,
              int factor) {
    return waitForDownload(state, transfer, DownloadDisplay{length, factor});
}

// The version becomes part of a file name in the start folder and of the unpack command, so a
// line that could name another folder or end the command's quoting counts as unreadable.
bool usableVersion(const QString& line) {
    return !line.isEmpty() && !line.contains(u'/') && !line.contains(u'\\') &&
           !line.contains(u'"') && !line.contains(u':');
}

void fetchVersion(AppState& state, const Endpoints& urls) {
    log(state, QStringLiteral("Grabbing version ") + urls.versionUrl);
    const QString versionFile = state.startDir + QStringLiteral("ver.txt");
    auto transfer = startDownload(urls.versionUrl, versionFile);
    if (!transfer)
        return;
    waitForDownload(state, transfer, std::nullopt);
    if (const auto line = platform::readFirstLine(versionFile); line && usableVersion(*line)) {
        state.titleText = *line;
        state.titleText.replace(u'.', u'_');
        state.cspectZip = QStringLiteral("CSpect") + state.titleText + QStringLiteral(".zip");
    } else {
        state.cspectZip = kDefaultZip;
    }
    log(state, QStringLiteral("Version : ") + state.cspectZip);
    status(state, QStringLiteral("Done"));
}

void reportEmulatorMissing(AppState& state) {
    status(state, QStringLiteral("Download error!"));
    log(state, QStringLiteral("An error occured trying to download ") + state.cspectZip);
    log(state, QStringLiteral("Unable to find CSpect.exe in current directory!!"));
    log(state, QStringLiteral("Please make sure this program to your CSpect folder."));
    state.prerequisitesMissing = 1;
}

void checkEmulator(AppState& state, const Endpoints& urls) {
    if (presentIgnoringCase(state.cspectExe)) {
        state.prerequisitesMissing = 0;
        return;
    }
    if (!platform::dialogs().askYesNo(
            kErrorTitle, QStringLiteral("Cannot find CSpect.exe, do you want to download?")))
        return;
    fetchVersion(state, urls);
    const QString url = urls.emulatorBase + state.cspectZip;
    const qint64 length = probeContentLength(url);
    log(state, QStringLiteral("Downloading ") + url);
    auto transfer = startDownload(url, state.startDir + state.cspectZip);
    if (!transfer || waitShown(state, transfer, length, 99) == Failed) {
        reportEmulatorMissing(state);
        return;
    }
    log(state, QStringLiteral("Downloaded ") + state.cspectZip);
    status(state, QStringLiteral("Done"));
    log(state, QStringLiteral("Extracting ") + state.cspectZip +
                   QStringLiteral(" To current directory..."));
    status(state, QStringLiteral("Extracting .... "));
    cursor(state, platform::WindowCursor::Wait);
    unpack(state, unpackArguments(state, state.cspectZip, QStringLiteral(" -DestinationPath "),
                                  QStringLiteral("cspect")));
    if (presentIgnoringCase(state.cspectExe)) {
        status(state, QStringLiteral("Done"));
    } else {
        // A bad archive or a missing unpacker must not let the launch go ahead.
        log(state, QStringLiteral("Extracting ") + state.cspectZip + QStringLiteral(" failed: ") +
                       state.cspectExe + QStringLiteral(" is still missing"));
        status(state, QStringLiteral("Extract error!"));
        state.prerequisitesMissing = 1;
    }
    cursor(state, platform::WindowCursor::None);
}

void reportToolMissing(AppState& state) {
    status(state, QStringLiteral("Download error!"));
    log(state, QStringLiteral("An error occured trying to download hdfmonkey.exe"));
    log(state, QStringLiteral("Unable to find HDFMonkey.exe in current directory!!"));
    log(state, QStringLiteral("Please make sure this program to your corvel folder."));
    state.prerequisitesMissing = 1;
}

void checkTool(AppState& state, const Endpoints& urls) {
    if (platform::pathKind(state.hdfmonkeyExe) != platform::PathKind::Missing) {
        state.prerequisitesMissing = 0;
        return;
    }
    if (!platform::dialogs().askYesNo(
            kErrorTitle, QStringLiteral("Cannot find HDFmonkey.exe, do you want to download?")))
        return;
    platform::makeFolder(state.startDir + QStringLiteral("hdfmonkey"));
    const qint64 length = probeContentLength(urls.toolUrl);
    log(state, QStringLiteral("Downloading ") + urls.toolUrl);
    auto transfer = startDownload(urls.toolUrl, state.hdfmonkeyExe);
    if (!transfer || waitShown(state, transfer, length, 100) == Failed) {
        reportToolMissing(state);
        return;
    }
    QFile::setPermissions(state.hdfmonkeyExe, QFile::permissions(state.hdfmonkeyExe) |
                                                  QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                                                  QFileDevice::ExeOther);
    log(state, QStringLiteral("Downloaded hdfmonkey.exe"));
    status(state, QStringLiteral("Done"));
    cursor(state, platform::WindowCursor::None);
}

QString withoutEnclosingQuotes(QString path) {
    while (path.startsWith(u'"'))
        path.remove(0, 1);
    while (path.endsWith(u'"'))
        path.chop(1);
    return path;
}

void warnAboutBlanks(AppState& state) {
    platform::dialogs().messageBox(
        kErrorTitle,
        QStringLiteral(
            "Error! You have a space in your file / path name! Please do not use spaces!"));
    log(state,
        QStringLiteral("Error! You have a space in your file / path name! Please use NO spaces!"));
    log(state, QStringLiteral("Do not use eg : D:\\My Stuff\\Files\\IMG\\this is the file.img"));
    log(state, QStringLiteral("Do use     eg : D:\\My_Stuff\\Files\\IMG\\this_is_the_file.img"));
    state.prerequisitesMissing = 1;
}

// Returns the chooser's result when no size was given, else 1 with the size word set.
int askImageSize(AppState& state, QString& sizeWord) {
    clearChoices(state.choices);
    addChoice(state.choices, QStringLiteral("2GB (download size 17MB - recommended)"), 0, 0, 0, 17);
    addChoice(state.choices, QStringLiteral("4GB (download size 19.2MB)"), 0, 0, 0, 19);
    addChoice(state.choices, QStringLiteral("8GB (download size 23.7MB)"), 0, 0, 0, 24);
    addChoice(state.choices, QStringLiteral("16GB (download size 32.2MB)"), 0, 0, 0, 32);
    const int result = chooseFromList(QStringLiteral("Download ZX Next distribution"),
                                      QStringLiteral("Please pick an image size:"), state.choices,
                                      kSizeDialogFlags, 1, state.window->widget(), 0, 0);
    if (result < 1)
        return result;
    for (const ChoiceItem& row : state.choices)
        if (row.value != 0)
            sizeWord = row.text.section(u' ', 0, 0).toLower();
    return 1;
}

void installImage(AppState& state, const Endpoints& urls, const QString& baseName,
                  platform::BusyWindow& busy) {
    const QString url = urls.imageBase + baseName + QStringLiteral(".zip");
    const qint64 length = probeContentLength(url);
    log(state, QStringLiteral("Downloading ") + url);
    auto transfer = startDownload(url, state.startDir + baseName + QStringLiteral(".zip"));
    if (!transfer || waitShown(state, transfer, length, 100) == Failed) {
        status(state, QStringLiteral("Download error!"));
        log(state, QStringLiteral("An error occured trying to download the image"));
        return;
    }
    log(state, QStringLiteral("Downloaded ") + baseName + QStringLiteral(".zip"));
    status(state, QStringLiteral("Done"));
    log(state, QStringLiteral("Extracting ") + baseName + QStringLiteral(".zip to ") + baseName +
                   QStringLiteral(".img"));
    busy.setLabelText(QStringLiteral("Please wait .. Extracting"));
    log(state, QStringLiteral("Please wait! This may take a few minutes"));
    status(state, QStringLiteral("Extracting .... "));
    cursor(state, platform::WindowCursor::Wait);
    unpack(state, unpackArguments(state, baseName, QStringLiteral(".zip -DestinationPath "),
                                  QStringLiteral("img")));
    const QString image = state.startDir + QStringLiteral("img") + QDir::separator() + baseName +
                          QStringLiteral(".img");
    if (platform::pathKind(image) == platform::PathKind::File) {
        status(state, QStringLiteral("Done"));
        log(state, QStringLiteral("Ready"));
        state.imagePath = image;
        state.window->setImagePathText(state.imagePath);
        if (state.ops.refreshImageListing)
            state.ops.refreshImageListing(state);
    } else {
        log(state, QStringLiteral("Extracting ") + baseName + QStringLiteral(".zip failed: ") +
                       image + QStringLiteral(" is missing"));
        status(state, QStringLiteral("Extract error!"));
        state.prerequisitesMissing = 1;
    }
    cursor(state, platform::WindowCursor::None);
}

// Holds the chooser's result when the user gave no size: the check ends there.
std::optional<int> checkImage(AppState& state, const Endpoints& urls, QString& baseName) {
    if (state.imagePath.contains(u' '))
        warnAboutBlanks(state);
    if (platform::pathKind(withoutEnclosingQuotes(state.imagePath)) != platform::PathKind::Missing)
        return std::nullopt;
    log(state, state.imagePath);
    if (!platform::dialogs().askYesNo(
            kErrorTitle,
            QStringLiteral("Cannot find an .img file, do you want to download one?"))) {
        state.prerequisitesMissing = 1;
        log(state,
            QStringLiteral("You tried to launch CSpect in NextZXOS mode with no disk image file"));
        return std::nullopt;
    }
    QString sizeWord;
    const int picked = askImageSize(state, sizeWord);
    if (picked < 1) {
        state.prerequisitesMissing = 1;
        return picked;
    }
    baseName = QStringLiteral("cspect-next-") + sizeWord;
    platform::BusyWindow busy;
    state.events.pumpOneWindowEvent();
    busy.showOnTop();
    state.window->setAcceptsInput(false);
    installImage(state, urls, baseName, busy);
    busy.close();
    state.window->setAcceptsInput(true);
    return std::nullopt;
}

// Downloads are left behind until a check finds nothing missing; a crash mid-transfer can
// leave the ".part" name beside each, which goes with them.
void removeDownloads(const AppState& state, const QString& baseName) {
    const QStringList names = {state.cspectZip, QStringLiteral("hdfmonkey.zip"),
                               baseName + QStringLiteral(".zip"), QStringLiteral("ver.txt")};
    for (const QString& name : names) {
        platform::deleteFile(state.startDir + name);
        platform::deleteFile(state.startDir + name + QStringLiteral(".part"));
    }
}

} // namespace

int ensurePrerequisites(AppState& state) {
    const Endpoints urls = endpoints();
    checkEmulator(state, urls);
    checkTool(state, urls);
    QString baseName;
    if (const auto noSize = checkImage(state, urls, baseName))
        return *noSize;
    if (state.prerequisitesMissing == 0)
        removeDownloads(state, baseName);
    state.window->setStatusProgress(1, 0, FieldStyle::Raised, 0, 1);
    return 0;
}

} // namespace corvel
