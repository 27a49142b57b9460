#include "tool_runner.h"

namespace corvel {

int runTool(AppState& state, const QString& program, const QString& arguments, int mode,
            const QString& workingFolder) {
    (void)state;
    (void)program;
    (void)arguments;
    (void)mode;
    (void)workingFolder;
    return ToolNotStarted;
}

DirEntry parseListingLine(const QString& line) {
    (void)line;
    return {};
}

} // namespace corvel
