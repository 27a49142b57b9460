#pragma once

#include <QWidget>

class QLabel;

namespace corvel::platform {

// The small "Busy" window shown above everything while a disk image is fetched and unpacked.
// It has no events of its own; a click on its close box is dropped with every other event of
// the waits. Closed when the object goes.
class BusyWindow final : public QWidget {
    Q_OBJECT
public:
    BusyWindow();
    ~BusyWindow() override;

    void showOnTop();
    void setLabelText(const QString& text);
    QLabel* label() const { return m_label; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* m_label = nullptr;
};

} // namespace corvel::platform
