// What the window benchmarks print and read of their own process.
#ifndef BENCHOUTPUT_H
#define BENCHOUTPUT_H

#include <QString>

namespace BenchOutput {

// One line on standard output, flushed at once (the runs are followed live).
void print(const QString &line);

// A value of /proc/self/status in kB ("VmRSS", "VmHWM"), or -1.
qint64 statusKb(const char *field);

} // namespace BenchOutput

#endif // BENCHOUTPUT_H
