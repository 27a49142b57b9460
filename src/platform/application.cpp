#include "application.h"

#include <QApplication>
#include <QWidget>
#include <curl/curl.h>

namespace corvel::platform {

namespace {
int g_argc = 1;
char g_arg0[] = "corvel";
char* g_argv[] = {g_arg0, nullptr};
} // namespace

Platform::Platform() {
    if (QApplication::instance() == nullptr)
        m_ownedApp = std::make_unique<QApplication>(g_argc, g_argv);
    curl_global_init(CURL_GLOBAL_DEFAULT);
}

Platform::~Platform() {
    curl_global_cleanup();
    m_ownedApp.reset();
}

void setWindowCursor(QWidget* window, WindowCursor cursor) {
    if (window == nullptr)
        return;
    if (cursor == WindowCursor::Wait)
        window->setCursor(Qt::WaitCursor);
    else
        window->unsetCursor();
}

} // namespace corvel::platform
