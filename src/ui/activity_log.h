#pragma once

#include <QString>

class QPlainTextEdit;

namespace corvel {

// Appends one line at the end of a multi-line view: the break comes before the text, the
// user's selection is dropped and the view shows the end. One insertion, whatever the length.
void appendToLog(QPlainTextEdit* view, const QString& text);

} // namespace corvel
