#pragma once

#include "core/app_state.h"
#include "ui/main_window.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace corvel::test {

// A started application in a fresh, empty start folder: the real window, dispatcher and
// operations, with the about box answered through the dialog seam.
class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the program the way the executable does, up to the main loop.
    void start();
    MainWindow& window() const;
    // Lets Qt deliver what is pending, then hands every queued UiEvent to the dispatcher.
    // Returns false when a handled event asked the loop to stop.
    bool dispatchPending();
    QString startFolder() const { return m_folder.path() + u'/'; }
    QString writeFile(const QString& relative, const QByteArray& bytes) const;
    QStringList logLines() const;

    QTemporaryDir m_folder;
    QString m_previousDir;
    AppState m_state;
};

} // namespace corvel::test
