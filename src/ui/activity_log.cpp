#include "activity_log.h"

#include <QPlainTextEdit>
#include <QTextCursor>

namespace corvel {

void appendToLog(QPlainTextEdit* view, const QString& text) {
    QTextCursor cursor(view->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertBlock();
    cursor.insertText(text);
    cursor.movePosition(QTextCursor::End);
    view->setTextCursor(cursor);
    view->ensureCursorVisible();
}

} // namespace corvel
