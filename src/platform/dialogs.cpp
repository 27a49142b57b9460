#include "dialogs.h"

#include "choice_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>

namespace corvel::platform {

Dialogs& dialogs() {
    static Dialogs instance;
    return instance;
}

bool Dialogs::takeScripted(DialogKind kind, const QString& title, const QString& text,
                           DialogAnswer& answer) {
    m_shown.push_back({kind, title, text});
    if (!m_answers.empty()) {
        answer = std::move(m_answers.front());
        m_answers.pop_front();
        return true;
    }
    if (m_scripted) {
        answer = DialogAnswer{};
        return true;
    }
    return false;
}

static QWidget* ownerOr(QWidget* owner) {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return owner;
}

void Dialogs::messageBox(const QString& caption, const QString& text) {
    DialogAnswer answer;
    if (takeScripted(DialogKind::Message, caption, text, answer))
        return;
    QMessageBox::information(ownerOr(m_owner), caption, text, QMessageBox::Ok);
}

bool Dialogs::askYesNo(const QString& title, const QString& text) {
    DialogAnswer answer;
    if (takeScripted(DialogKind::YesNo, title, text, answer))
        return answer.yes;
    return QMessageBox::question(ownerOr(m_owner), title, text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QString Dialogs::inputText(const QString& title, const QString& prompt,
                           const QString& defaultText) {
    DialogAnswer answer;
    if (takeScripted(DialogKind::TextInput, title, prompt, answer))
        return answer.text;
    bool ok = false;
    const QString text = QInputDialog::getText(ownerOr(m_owner), title, prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

// "Label (*.a *.b)|*.a;*.b|All files (*.*)|*.*" becomes Qt's ";;"-separated filter list; the
// pattern half of each pair is what actually filters, so it replaces the label's own list.
QString toQtFilter(const QString& filters) {
    const QStringList parts = filters.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString label = parts[i];
        const qsizetype paren = label.indexOf(u'(');
        if (paren >= 0)
            label = label.left(paren).trimmed();
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        if (patterns == QStringLiteral("*.*"))
            patterns = QStringLiteral("*");
        out << label + QStringLiteral(" (") + patterns + u')';
    }
    return out.join(QStringLiteral(";;"));
}

QString Dialogs::openFileName(const QString& title, const QString& filters,
                              const QString& initialPath) {
    DialogAnswer answer;
    if (takeScripted(DialogKind::OpenFile, title, initialPath, answer))
        return answer.text;
    const QString qtFilter = toQtFilter(filters);
    QString first = qtFilter.section(QStringLiteral(";;"), 0, 0);
    return QFileDialog::getOpenFileName(ownerOr(m_owner), title, initialPath, qtFilter, &first);
}

int Dialogs::chooseFromList(const ChoiceRequest& request, std::vector<ChoiceRow>& rows) {
    if (rows.empty())
        return choice::Cancelled;
    DialogAnswer answer;
    if (!takeScripted(DialogKind::Choice, request.title, request.text, answer))
        return runChoiceDialog(request, rows, {});
    if (!answer.action)
        return choice::Cancelled;
    return runChoiceDialog(request, rows, answer.action);
}

} // namespace corvel::platform
