#pragma once

#include <QString>

namespace corvel {

// One entry of the listed image directory, as the image tool printed it.
struct DirEntry {
    QString name;
    QString size; // the size text, never converted; empty for a directory
    QString kind; // "DIR" or "FILE"
};

// One row of the choice dialog.
struct ChoiceItem {
    QString text;
    int value = 0;
    int image = 0;
    int disabled = 0;
    int tag = 0;
};

// How the tool runner starts a program.
enum ToolRunMode : int {
    Listing = 0,
    Quiet = 1,
    Detached = 2,
    WaitVisible = 3,
    Logged = 4,
};

inline constexpr int ToolNotStarted = -245678;

} // namespace corvel
