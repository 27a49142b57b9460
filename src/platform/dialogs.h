#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <vector>

class QWidget;

namespace corvel::platform {

struct ChoiceRequest;
struct ChoiceRow;

enum class DialogKind { Message, YesNo, TextInput, OpenFile, Choice };

// What a dialog was asked, kept so tests can check which questions the user saw.
struct DialogRecord {
    DialogKind kind;
    QString title;
    QString text;
};

// A scripted answer: `yes` for Yes/No, `text` for text input and the file requester. `action`,
// when set, runs instead (the choice dialog uses it to tick rows of a real dialog).
struct DialogAnswer {
    bool yes = false;
    QString text;
    std::function<int()> action;
};

// Every message box and requester of the program goes through here. The Qt side shows real
// modal dialogs; tests queue the next answers, and in scripted mode a question without a queued
// answer is answered "cancel" instead of waiting for a person who is not there. GUI thread only.
class Dialogs final {
public:
    void setOwner(QWidget* owner) { m_owner = owner; }

    void messageBox(const QString& caption, const QString& text);
    bool askYesNo(const QString& title, const QString& text);
    QString inputText(const QString& title, const QString& prompt, const QString& defaultText);
    // filters uses the "Label (*.a *.b)|*.a;*.b|..." form; returns "" when cancelled.
    QString openFileName(const QString& title, const QString& filters, const QString& initialPath);
    // The choice dialog: a scripted answer's `action` runs inside the real, open dialog
    // (ChoiceDialog::current()); without an action a scripted answer cancels (-2).
    int chooseFromList(const ChoiceRequest& request, std::vector<ChoiceRow>& rows);

    // For requesters built elsewhere (the choice dialog): records the question; true when a
    // scripted answer stands in for the person, false when the real dialog must be shown.
    bool takeScripted(DialogKind kind, const QString& title, const QString& text,
                      DialogAnswer& answer);

    void setScripted(bool scripted) { m_scripted = scripted; }
    bool scripted() const { return m_scripted; }
    void queueAnswer(DialogAnswer answer) { m_answers.push_back(std::move(answer)); }
    const std::vector<DialogRecord>& shown() const { return m_shown; }
    void clearShown() { m_shown.clear(); }
    std::size_t pendingAnswers() const { return m_answers.size(); }

private:
    QWidget* m_owner = nullptr;
    bool m_scripted = false;
    std::deque<DialogAnswer> m_answers;
    std::vector<DialogRecord> m_shown;
};

// The process's one dialog interface.
Dialogs& dialogs();

QString toQtFilter(const QString& filters);

} // namespace corvel::platform
