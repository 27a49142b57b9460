#include "path_combo.h"

#include "platform/files.h"

#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLineEdit>

namespace corvel {

PathCombo::PathCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    addItems(platform::mountedVolumeFolders());
    setCurrentIndex(-1);
    lineEdit()->clear();
    lineEdit()->installEventFilter(this);
    connect(this, &QComboBox::activated, this, [this](int index) {
        m_shown = itemText(index);
        Q_EMIT folderChosen();
    });
}

QString PathCombo::text() const {
    return m_shown;
}

void PathCombo::selectVolumeOf(const QString& folder) {
    const QSignalBlocker blocker(this);
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemText(i);
        if (folder.startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    setCurrentIndex(best);
}

void PathCombo::setText(const QString& folder) {
    m_shown = folder;
    selectVolumeOf(folder);
    lineEdit()->setText(folder);
}

void PathCombo::enterTyped() {
    const QString typed = lineEdit()->text();
    if (!typed.isEmpty() && QFileInfo(typed).isDir()) {
        setText(platform::asFolderPath(QFileInfo(typed).absoluteFilePath()));
        Q_EMIT folderChosen();
    } else {
        lineEdit()->setText(m_shown);
    }
}

// The completion model watches the file system from a thread of its own; it is made when the
// user first goes to type a path, so start-up does not pay for it.
void PathCombo::ensureCompleter() {
    if (lineEdit()->completer() != nullptr)
        return;
    auto* model = new QFileSystemModel(this);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model->setRootPath(QString());
    auto* completer = new QCompleter(model, this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    lineEdit()->setCompleter(completer);
}

bool PathCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::FocusIn)
        ensureCompleter();
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            enterTyped();
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

} // namespace corvel
