#pragma once

#include <functional>
#include <QDialog>
#include <QString>
#include <vector>

class QAbstractItemView;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvel::platform {

// Look and behaviour bits of the choice dialog.
namespace choice {
inline constexpr int ReturnValue = 0x001;
inline constexpr int Multiple = 0x004;
inline constexpr int AllowNone = 0x008;
inline constexpr int Hierarchy = 0x010;
inline constexpr int EdgeButtons = 0x020;
inline constexpr int OnTop = 0x040;
inline constexpr int ListBox = 0x100;
inline constexpr int Tree = 0x200;

inline constexpr int Cancelled = -2;
inline constexpr int NotCreated = -3;
} // namespace choice

// One row as the dialog sees it; `value` is rewritten by an accepted multiple choice.
struct ChoiceRow {
    QString text;
    int value = 0;
    int image = 0;
    bool disabled = false;
};

struct ChoiceRequest {
    QString title;
    QString text;
    int flags = 0;
    int defaultRow = 0;
    QWidget* parent = nullptr;
    int width = 0;
    int height = 0;
};

int defaultChoiceWidth(const QString& text);
// ln(rows) x 60 + 100, rounded to the nearest integer with ties to the even one.
int defaultChoiceHeight(std::size_t rows);

// The modal requester itself. Lives only inside one runChoiceDialog call; tests reach the open
// one through current() from a scripted answer.
class ChoiceDialog final : public QDialog {
    Q_OBJECT
public:
    ChoiceDialog(const ChoiceRequest& request, std::vector<ChoiceRow>& rows);
    ~ChoiceDialog() override;

    static ChoiceDialog* current();

    int outcome() const { return m_outcome; }
    bool multiple() const { return (m_flags & choice::Multiple) != 0; }
    bool isChosen(int row) const;
    void setChosen(int row, bool chosen);
    void attemptAccept();
    void chooseAll();

    QLabel* label() const { return m_label; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QAbstractItemView* listView() const;
    QTreeWidget* treeWidget() const { return m_tree; }
    QListWidget* listWidget() const { return m_list; }

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildButtons(int width, int height);
    void buildList(int width, int height);
    void addRows();
    void bindKeys();

    std::vector<ChoiceRow>& m_rows;
    int m_flags = 0;
    int m_outcome = choice::Cancelled;
    bool m_treeChecks = false;
    QLabel* m_label = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QTreeWidget* m_tree = nullptr;
    QListWidget* m_list = nullptr;
    std::vector<QTreeWidgetItem*> m_treeItems;
};

// Shows the dialog and returns -2 (cancelled or no rows), -3 (no window), or the pick. When a
// script is given it runs inside the dialog's own wait, once the dialog is shown; whatever it
// leaves open is then cancelled.
int runChoiceDialog(const ChoiceRequest& request, std::vector<ChoiceRow>& rows,
                    const std::function<int()>& script);

} // namespace corvel::platform
