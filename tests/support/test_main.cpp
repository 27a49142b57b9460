#include "platform/application.h"
#include "platform/dialogs.h"

#include <QApplication>
#include <gtest/gtest.h>

// Every test binary runs headless on real widgets; dialogs take scripted answers and answer
// "cancel" when a test queued none, so no test can wait for a person.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    corvel::platform::Platform platform;
    corvel::platform::dialogs().setScripted(true);
    return RUN_ALL_TESTS();
}
