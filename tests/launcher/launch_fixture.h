#pragma once

#include "support/app_fixture.h"

#include <QStringList>

namespace corvel::test {

// A started application whose prerequisites are all present: an emulator stand-in at the
// emulator's place, an image tool and a disk image. Stand-ins are real scripts that write the
// argv they were given to a record file, one argument a line, and print two lines.
class LaunchFixture : public AppFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a recording stand-in at relative (under the start folder); its record goes to
    // record (also relative). Returns the script's absolute path.
    QString writeRecorder(const QString& relative, const QString& record) const;
    // Waits for the record to appear and returns the recorded argv; empty after a time-out.
    QStringList recordedArgs(const QString& record) const;
    void removeRecord(const QString& record) const;
    // Makes the desktop opener a recording stand-in writing to "opener.rec".
    void useRecordingOpener();
    QStringList launchLines() const;
    void clickButton(ControlId id);

    QString imageFile() const { return startFolder() + QStringLiteral("img/test.img"); }

    static constexpr const char* EmulatorRecord = "emulator.rec";
    static constexpr const char* OpenerRecord = "opener.rec";
};

} // namespace corvel::test
