#include "settings.h"

#include "platform/files.h"

#include <algorithm>
#include <limits>

namespace corvel {

namespace {

const QString SettingsFileName = QStringLiteral("zelt.cfg");

// The keys in the order a line is tested against them: the first one found anywhere in the
// line decides what the line sets.
enum class Key { HdfFile, ExplorePath, ScreenSize, Sound, Vsync, Hertz, Joy, Cspect, Esc, Custom };

struct KeyText {
    Key key;
    QString text;
};

const KeyText KeysInSearchOrder[] = {
    {Key::HdfFile, QStringLiteral("hdffile=")},
    {Key::ExplorePath, QStringLiteral("explorepath=")},
    {Key::ScreenSize, QStringLiteral("screensize=")},
    {Key::Sound, QStringLiteral("sound=")},
    {Key::Vsync, QStringLiteral("vsync=")},
    {Key::Hertz, QStringLiteral("hertz=")},
    {Key::Joy, QStringLiteral("joy=")},
    {Key::Cspect, QStringLiteral("cspect=")},
    {Key::Esc, QStringLiteral("esc=")},
    {Key::Custom, QStringLiteral("custom=")},
};

int digitValue(QChar c, int base) {
    int value = -1;
    if (c >= u'0' && c <= u'9')
        value = c.unicode() - u'0';
    else if (c >= u'a' && c <= u'f')
        value = c.unicode() - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        value = c.unicode() - u'A' + 10;
    return value < base ? value : -1;
}

// Hand-edited numbers: blanks and tabs first, an optional sign, then "$" hexadecimal, "%"
// binary or decimal digits up to the first character that does not fit. A value too large for
// an int saturates, which leaves a combo without a selection like any other bad index.
int readInteger(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    int base = 10;
    if (i < text.size() && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i < text.size() && text[i] == u'%') {
        base = 2;
        ++i;
    }
    constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
    qint64 value = 0;
    for (; i < text.size() && digitValue(text[i], base) >= 0; ++i)
        value = std::min(value * base + digitValue(text[i], base), limit);
    if (negative)
        value = -value;
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

// "esc=" and "custom=" take the text between the line's first and second "=".
QString betweenEquals(const QString& line) {
    return line.section(u'=', 1, 1);
}

void applyLine(AppState& state, const KeyText& key, const QString& line) {
    MainWindowPort& w = *state.window;
    // Values are taken by position: the key's length from the line start, wherever the key
    // itself was found.
    const QString value = line.mid(key.text.size());
    switch (key.key) {
    case Key::HdfFile:
        state.imagePath = value;
        break;
    case Key::ExplorePath:
        state.explorePath = value;
        w.setExplorerText(value);
        break;
    case Key::ScreenSize:
        w.setComboIndex(ControlId::ScreenSizeCombo, readInteger(value));
        break;
    case Key::Sound:
        w.setComboIndex(ControlId::SoundCombo, readInteger(value));
        break;
    case Key::Vsync:
        w.setComboIndex(ControlId::VsyncCombo, readInteger(value));
        break;
    case Key::Hertz:
        w.setComboIndex(ControlId::HertzCombo, readInteger(value));
        break;
    case Key::Joy:
        w.setComboIndex(ControlId::JoystickCombo, readInteger(value));
        break;
    case Key::Cspect:
        state.cspectZip = value;
        break;
    case Key::Esc:
        state.escSetting = betweenEquals(line);
        break;
    case Key::Custom:
        state.customCommand = betweenEquals(line);
        w.setLaunchCustomVisible(true);
        break;
    }
}

// Returns whether the line set the custom command.
bool applySettingsLine(AppState& state, const QString& line) {
    for (const KeyText& key : KeysInSearchOrder) {
        if (line.contains(key.text)) {
            applyLine(state, key, line);
            return key.key == Key::Custom;
        }
    }
    return false;
}

} // namespace

// Read by its bare name: the program only ever leaves its start folder for the length of a
// custom command, so this is the file in the start folder.
void loadSettings(AppState& state) {
    const auto lines = platform::readTextLines(SettingsFileName);
    if (!lines)
        return;
    bool customRead = false;
    for (const QString& line : *lines)
        customRead = applySettingsLine(state, line) || customRead;
    state.window->setLaunchCustomVisible(customRead);
    state.ops.refreshImageListing(state);
}

// The file is replaced whole or not at all: a failed write leaves the previous one in place.
void saveSettings(AppState& state) {
    const MainWindowPort& w = *state.window;
    const auto index = [&](ControlId combo) { return QString::number(w.comboIndex(combo)); };
    const QStringList lines = {
        QStringLiteral("hdffile=") + state.imagePath,
        QStringLiteral("explorepath=") + w.explorerFolder(),
        QStringLiteral("screensize=") + index(ControlId::ScreenSizeCombo),
        QStringLiteral("sound=") + index(ControlId::SoundCombo),
        QStringLiteral("vsync=") + index(ControlId::VsyncCombo),
        QStringLiteral("hertz=") + index(ControlId::HertzCombo),
        QStringLiteral("joy=") + index(ControlId::JoystickCombo),
        QStringLiteral("cspect=") + state.cspectZip,
        QStringLiteral("custom=") + state.customCommand,
        QStringLiteral("esc=") + state.escSetting,
    };
    platform::writeTextLinesAtomically(state.startDir + SettingsFileName, lines);
}

// The editor runs with the whole program waiting: the settings are read back only once the
// user has closed it.
void editSettings(AppState& state) {
    saveSettings(state);
    state.ops.runTool(state, QStringLiteral("notepad.exe"), state.startDir + SettingsFileName,
                      WaitVisible, QString());
    loadSettings(state);
}

} // namespace corvel
