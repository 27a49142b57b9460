#include "text_editor.h"

#include "dialogs.h"

#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

namespace corvel::platform {

namespace {

// The file as it was found, so a save writes back the same line ends and mark.
struct LoadedText {
    QString text;
    QByteArray lineEnd = "\r\n";
    bool byteOrderMark = false;
};

LoadedText loadText(const QString& path) {
    LoadedText loaded;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return loaded;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        loaded.byteOrderMark = true;
        bytes.remove(0, 3);
    }
    if (bytes.contains('\n') && !bytes.contains("\r\n"))
        loaded.lineEnd = "\n";
    QString text = QString::fromUtf8(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    loaded.text = text;
    return loaded;
}

bool saveText(const QString& path, const QString& text, const LoadedText& format) {
    QByteArray bytes = format.byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    bytes += text.toUtf8().replace("\n", format.lineEnd);
    // A failed final write shows only in the flush; commit alone would rename a cut-short file
    // onto the user's.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// Closing with unsaved edits, by the button, the window's close box or Escape, asks first.
class EditorWindow final : public QDialog {
public:
    EditorWindow(const QString& path, const LoadedText& loaded)
        : m_path(path), m_loaded(loaded), m_editor(new QPlainTextEdit(this)) {}

    QPlainTextEdit* editor() const { return m_editor; }

    bool save() {
        if (!saveText(m_path, m_editor->toPlainText(), m_loaded)) {
            dialogs().messageBox(m_path, QStringLiteral("The file could not be saved."));
            return false;
        }
        m_editor->document()->setModified(false);
        return true;
    }

    void done(int result) override {
        if (m_editor->document()->isModified() &&
            dialogs().askYesNo(m_path, QStringLiteral("Save the changes to this file?")))
            save();
        QDialog::done(result);
    }

private:
    QString m_path;
    LoadedText m_loaded;
    QPlainTextEdit* m_editor;
};

} // namespace

void runTextEditor(const QString& path) {
    const LoadedText loaded = loadText(path);
    EditorWindow window(path, loaded);
    window.setObjectName(QStringLiteral("textEditor"));
    window.setWindowTitle(path);
    window.setWindowModality(Qt::ApplicationModal);
    window.resize(640, 420);

    QPlainTextEdit* editor = window.editor();
    editor->setObjectName(QStringLiteral("textEditorText"));
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    editor->setPlainText(loaded.text);
    editor->document()->setModified(false);
    auto* save = new QPushButton(QStringLiteral("Save"), &window);
    save->setObjectName(QStringLiteral("textEditorSave"));
    auto* close = new QPushButton(QStringLiteral("Close"), &window);
    close->setObjectName(QStringLiteral("textEditorClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(editor);
    layout->addLayout(buttons);

    QObject::connect(save, &QPushButton::clicked, &window, [&window] { window.save(); });
    QObject::connect(close, &QPushButton::clicked, &window, &QDialog::accept);
    window.exec();
}

} // namespace corvel::platform
