#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace corvel::test {

struct RunResult final {
    int exitCode = -1; // -1 when killed (also after a timeout)
    bool timedOut = false;
    std::string out;
    std::string err;
};

// Runs argv[0] (a path) with a standard input that is a pipe nobody ever writes to or
// closes: a child that tries to read it blocks until the timeout kills it, which the
// result then reports.
RunResult runProgram(const std::vector<std::string>& argv,
                     std::chrono::milliseconds timeout = std::chrono::seconds(60));

} // namespace corvel::test
