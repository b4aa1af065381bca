#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>

// Runs a system tool by absolute path with fixed arguments, its PATH the system's folders only. A
// missing tool is a failed run.
namespace ToolRunner {
struct Request {
    QString program; // absolute path
    QStringList arguments;
    std::optional<std::chrono::milliseconds> timeLimit; // none: wait as long as it takes
    // An open folder the tool starts in, entered by its descriptor in the new process so no path is
    // looked up again (a tool that cannot enter it exits with status 127); -1: Kelvo's own.
    int workingFolder = -1;
};

struct Result {
    bool started = false;
    bool timedOut = false; // the tool was ended after its time limit
    int exitCode = -1;     // -1 when it did not start, crashed or was ended
    QByteArray standardOutput;

    bool succeeded() const { return started && !timedOut && exitCode == 0; }
};

// Synchronous; stdout is captured, stderr is drained and dropped. Call it from a worker thread.
Result run(const Request& request);
} // namespace ToolRunner
