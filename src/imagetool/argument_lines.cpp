#include "argument_lines.h"

namespace corvel {

namespace {

QString quoted(const QString& text) {
    return u'"' + text + u'"';
}

QString inImage(const AppState& state, const QString& name) {
    return quoted(state.imageDir + u'/' + name);
}

} // namespace

QString imageTargetPrefix(const AppState& state) {
    return state.imageDir.isEmpty() ? QString() : state.imageDir + u'/';
}

QString listLine(const AppState& state) {
    return QStringLiteral("ls ") + state.imagePath + u' ' + quoted(state.imageDir);
}

QString removeLine(const AppState& state, const QString& name) {
    return QStringLiteral("rm ") + state.imagePath + u' ' + inImage(state, name);
}

QString makeFolderLine(const AppState& state, const QString& name) {
    return QStringLiteral("mkdir ") + state.imagePath + u' ' + inImage(state, name);
}

QString getLine(const AppState& state, const QString& name, const QString& destination) {
    return QStringLiteral("get ") + state.imagePath + u' ' + inImage(state, name) + u' ' +
           quoted(destination);
}

QString putLine(const AppState& state, const QString& folder, const QString& file) {
    return QStringLiteral("put ") + state.imagePath + u' ' + quoted(folder + file) + u' ' +
           quoted(imageTargetPrefix(state) + file);
}

QString unsendablePathNote(const QString& path) {
    if (!path.contains(u'"'))
        return QString();
    return QStringLiteral("Skipped ") + path +
           QStringLiteral(": a name with a double quote cannot be passed to the image tool");
}

} // namespace corvel
