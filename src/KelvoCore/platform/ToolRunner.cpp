#include "platform/ToolRunner.h"

#include <QFileInfo>
#include <QProcess>

namespace ToolRunner {

Result run(const Request& request)
{
    Result result;
    // Only absolute paths: a tool is never looked up on the PATH.
    if (!QFileInfo(request.program).isAbsolute() || !QFileInfo(request.program).isExecutable())
        return result;

    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(request.program, request.arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted())
        return result;
    result.started = true;

    const int waitMs = request.timeLimit ? static_cast<int>(request.timeLimit->count()) : -1;
    if (!process.waitForFinished(waitMs)) {
        if (process.state() != QProcess::NotRunning) {
            result.timedOut = true;
            process.kill();
            process.waitForFinished();
        }
        result.standardOutput = process.readAllStandardOutput();
        return result;
    }
    result.standardOutput = process.readAllStandardOutput();
    if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    return result;
}

} // namespace ToolRunner
