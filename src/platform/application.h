#pragma once

#include <memory>

class QApplication;
class QWidget;

namespace corvel::platform {

// Starts the platform: the Qt application object (window system, drag and drop) and the network
// library. When an application object exists already (tests), it is used as it is.
class Platform final {
public:
    Platform();
    ~Platform();
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;

private:
    std::unique_ptr<QApplication> m_ownedApp;
};

enum class WindowCursor { None, Wait };

// The cursor a window shows over its own surface; with None it sets no shape of its own.
void setWindowCursor(QWidget* window, WindowCursor cursor);

} // namespace corvel::platform
