#include "app_fixture.h"

#include "core/startup.h"
#include "platform/dialogs.h"
#include "ui/operations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

namespace corvel::test {

void AppFixture::SetUp() {
    ASSERT_TRUE(m_folder.isValid());
    m_previousDir = QDir::currentPath();
    QDir::setCurrent(m_folder.path());
    platform::dialogs().clearShown();
    m_state.ops = standardOperations();
}

void AppFixture::TearDown() {
    m_state.window.reset();
    QDir::setCurrent(m_previousDir);
}

void AppFixture::start() { startUp(m_state); }

MainWindow& AppFixture::window() const { return *static_cast<MainWindow*>(m_state.window.get()); }

bool AppFixture::dispatchPending() {
    QCoreApplication::processEvents();
    bool keepRunning = true;
    while (!m_state.events.empty())
        keepRunning = m_state.ops.handleEvent(m_state, m_state.events.waitForEvent()) && keepRunning;
    return keepRunning;
}

QString AppFixture::writeFile(const QString& relative, const QByteArray& bytes) const {
    const QString path = startFolder() + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QStringList AppFixture::logLines() const {
    return window().logView()->toPlainText().split(u'\n');
}

} // namespace corvel::test
