#pragma once

#include "core/main_window_port.h"

#include <array>
#include <optional>
#include <QFrame>

class QLabel;
class QProgressBar;

namespace corvel {

// The bar along the bottom edge: three fields from the left, 50, 100 and 550 wide; the rest of
// the bar belongs to no field. A field shows either a text or a progress bar.
class StatusBar final : public QFrame {
    Q_OBJECT
public:
    static constexpr int Height = 23;
    explicit StatusBar(QWidget* parent);

    void setText(int field, const QString& text, FieldStyle style, FieldAlign align);
    void setProgress(int field, qint64 value, FieldStyle style, std::optional<qint64> minimum,
                     std::optional<qint64> maximum);

    QString text(int field) const;
    QLabel* label(int field) const;
    QProgressBar* progressBar(int field) const; // nullptr until a progress was set
    qint64 progressValue(int field) const;
    qint64 progressMinimum(int field) const;
    qint64 progressMaximum(int field) const;

private:
    struct Field {
        QLabel* label = nullptr;
        QProgressBar* bar = nullptr;
        qint64 value = 0;
        qint64 minimum = 0;
        qint64 maximum = 100;
    };
    void applyStyle(Field& field, FieldStyle style);
    void drawProgress(Field& field);

    std::array<Field, 3> m_fields;
};

} // namespace corvel
