#include "status_bar.h"

#include <algorithm>
#include <cstdlib>
#include <QLabel>
#include <QProgressBar>

namespace corvel {

namespace {
constexpr std::array<int, 3> FieldWidths{50, 100, 550};

bool validField(int field) {
    return field >= 0 && field < 3;
}
} // namespace

StatusBar::StatusBar(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::NoFrame);
    int x = 0;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        auto* label = new QLabel(this);
        label->setGeometry(x, 2, FieldWidths[i] - 2, Height - 3);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_fields[i].label = label;
        x += FieldWidths[i];
    }
}

void StatusBar::applyStyle(Field& field, FieldStyle style) {
    switch (style) {
    case FieldStyle::Plain:
        field.label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        break;
    case FieldStyle::Raised:
        field.label->setFrameStyle(QFrame::Panel | QFrame::Raised);
        break;
    case FieldStyle::Borderless:
        field.label->setFrameStyle(QFrame::NoFrame);
        break;
    }
}

void StatusBar::setText(int field, const QString& text, FieldStyle style, FieldAlign align) {
    if (!validField(field))
        return;
    Field& f = m_fields[static_cast<std::size_t>(field)];
    if (f.bar != nullptr)
        f.bar->hide();
    applyStyle(f, style);
    const Qt::Alignment h = align == FieldAlign::Centre  ? Qt::AlignHCenter
                            : align == FieldAlign::Right ? Qt::AlignRight
                                                         : Qt::AlignLeft;
    f.label->setAlignment(h | Qt::AlignVCenter);
    f.label->setText(text);
}

// QProgressBar holds int; the range is scaled down when a download runs past what int holds,
// so a file of several gigabytes still fills the bar in proportion.
void StatusBar::drawProgress(Field& f) {
    qint64 min = f.minimum;
    qint64 max = f.maximum;
    qint64 value = std::clamp(f.value, std::min(min, max), std::max(min, max));
    int shift = 0;
    while (std::max({std::llabs(min), std::llabs(max), std::llabs(value)}) >> shift > 0x3fffffff)
        ++shift;
    f.bar->setRange(static_cast<int>(min >> shift), static_cast<int>(max >> shift));
    f.bar->setValue(static_cast<int>(value >> shift));
}

void StatusBar::setProgress(int field, qint64 value, FieldStyle style,
                            std::optional<qint64> minimum, std::optional<qint64> maximum) {
    if (!validField(field))
        return;
    Field& f = m_fields[static_cast<std::size_t>(field)];
    if (f.bar == nullptr) {
        f.bar = new QProgressBar(f.label);
        f.bar->setTextVisible(false);
        f.bar->setGeometry(f.label->contentsRect().adjusted(1, 1, -1, -1));
        f.bar->hide();
    }
    f.minimum = minimum.value_or(f.minimum);
    f.maximum = maximum.value_or(f.maximum);
    f.value = value;
    applyStyle(f, style);
    f.bar->setGeometry(f.label->contentsRect().adjusted(1, 1, -1, -1));
    drawProgress(f);
    if (f.bar->isHidden()) {
        f.label->clear();
        f.bar->show();
    }
}

QString StatusBar::text(int field) const {
    return validField(field) ? m_fields[static_cast<std::size_t>(field)].label->text() : QString();
}

QLabel* StatusBar::label(int field) const {
    return validField(field) ? m_fields[static_cast<std::size_t>(field)].label : nullptr;
}

QProgressBar* StatusBar::progressBar(int field) const {
    return validField(field) ? m_fields[static_cast<std::size_t>(field)].bar : nullptr;
}

qint64 StatusBar::progressValue(int field) const {
    return validField(field) ? m_fields[static_cast<std::size_t>(field)].value : 0;
}
qint64 StatusBar::progressMinimum(int field) const {
    return validField(field) ? m_fields[static_cast<std::size_t>(field)].minimum : 0;
}
qint64 StatusBar::progressMaximum(int field) const {
    return validField(field) ? m_fields[static_cast<std::size_t>(field)].maximum : 0;
}

} // namespace corvel
