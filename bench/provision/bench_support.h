#pragma once

#include <functional>
#include <QString>
#include <QStringList>

namespace corvel::bench {

// Wall-clock seconds of the best of `rounds` runs; the first run also warms the page cache.
double bestSeconds(int rounds, const std::function<bool()>& run);
// Runs a program to its end, output discarded; true on exit code 0.
bool runQuietly(const QString& program, const QStringList& arguments,
                const QString& folder = QString());
void printBench(const char* name, double value, const char* unit);

} // namespace corvel::bench
