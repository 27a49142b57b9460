#include "support/app_fixture.h"
#include "ui/activity_log.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

using namespace corvel;

TEST(ActivityLog, BreakComesFirstAndTextIsInsertedUnchanged) {
    QPlainTextEdit view;
    appendToLog(&view, QStringLiteral("first"));
    appendToLog(&view, QString());
    appendToLog(&view, QStringLiteral("  two\nlines "));
    EXPECT_EQ(view.toPlainText(), QStringLiteral("\nfirst\n\n  two\nlines "));
}

TEST(ActivityLog, AppendsAtTheEndDroppingTheSelectionAndShowsTheEnd) {
    QPlainTextEdit view;
    view.resize(200, 60);
    view.show();
    for (int i = 0; i < 50; ++i)
        appendToLog(&view, QStringLiteral("line %1").arg(i));
    QTextCursor selection(view.document());
    selection.setPosition(3);
    selection.setPosition(12, QTextCursor::KeepAnchor);
    view.setTextCursor(selection);
    view.verticalScrollBar()->setValue(0);

    appendToLog(&view, QStringLiteral("newest"));
    EXPECT_TRUE(view.toPlainText().endsWith(QStringLiteral("line 49\nnewest")));
    EXPECT_FALSE(view.textCursor().hasSelection());
    EXPECT_EQ(view.textCursor().position(), view.document()->characterCount() - 1);
    EXPECT_GT(view.verticalScrollBar()->value(), 0);
    EXPECT_TRUE(view.viewport()->rect().contains(view.cursorRect()));
}
