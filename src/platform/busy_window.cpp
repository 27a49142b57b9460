#include "busy_window.h"

#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace corvel::platform {

BusyWindow::BusyWindow() {
    setWindowTitle(QStringLiteral("Busy"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    setFixedSize(230, 60);
    m_label = new QLabel(QStringLiteral("Downloading, please wait"), this);
    m_label->setGeometry(30, 20, 230, 25);
    m_label->setFont(QFont(QStringLiteral("Tahoma"), 10));
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

BusyWindow::~BusyWindow() = default;

void BusyWindow::showOnTop() {
    show();
    raise();
    activateWindow();
}

void BusyWindow::setLabelText(const QString& text) {
    m_label->setText(text);
}

void BusyWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
}

} // namespace corvel::platform
