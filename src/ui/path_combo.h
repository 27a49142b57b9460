#pragma once

#include <QComboBox>

namespace corvel {

// The volume chooser above the explorer. Its list holds the mounted volumes; its text is the
// folder it shows. Picking a volume, or Enter on a typed folder that exists, reports a folder
// choice; Enter on a path that does not exist puts the previous text back.
class PathCombo final : public QComboBox {
    Q_OBJECT
public:
    explicit PathCombo(QWidget* parent);

    QString text() const;
    // Shows the folder and selects its volume; reports nothing.
    void setText(const QString& folder);

Q_SIGNALS:
    void folderChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ensureCompleter();
    void selectVolumeOf(const QString& folder);
    void enterTyped();

    QString m_shown;
};

} // namespace corvel
