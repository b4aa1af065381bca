#include "platform/ToolRunner.h"

#include "vocabulary/KelvoLog.h"

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <unistd.h>

namespace ToolRunner {

Result run(const Request& request)
{
    Result result;
    // Only absolute paths: a tool is never looked up on the PATH.
    if (!QFileInfo(request.program).isAbsolute() || !QFileInfo(request.program).isExecutable()) {
        qCDebug(lcTools, "%s: not an executable at an absolute path", qUtf8Printable(request.program));
        return result;
    }

    QProcess process;
    // What the tool itself runs by name (tar its decompressor, a script its commands) comes from the
    // system's folders too, never from a folder the user's PATH adds (~/.local/bin).
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin:/usr/sbin:/sbin"));
    process.setProcessEnvironment(environment);
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setStandardInputFile(QProcess::nullDevice());
    if (const int folder = request.workingFolder; folder >= 0) {
        process.setChildProcessModifier([folder] {
            if (::fchdir(folder) != 0)
                ::_exit(127);
        });
    }
    process.start(request.program, request.arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted()) {
        qCDebug(lcTools, "%s: %s", qUtf8Printable(request.program), qUtf8Printable(process.errorString()));
        return result;
    }
    result.started = true;

    const int waitMs = request.timeLimit ? static_cast<int>(request.timeLimit->count()) : -1;
    if (!process.waitForFinished(waitMs)) {
        if (process.state() != QProcess::NotRunning) {
            result.timedOut = true;
            qCDebug(lcTools, "%s: ended after its time limit", qUtf8Printable(request.program));
            process.kill();
            process.waitForFinished();
        }
        result.standardOutput = process.readAllStandardOutput();
        return result;
    }
    result.standardOutput = process.readAllStandardOutput();
    if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    if (result.exitCode != 0) // the caller may only look at whether it succeeded
        qCDebug(lcTools, "%s %s: exit status %d", qUtf8Printable(request.program),
                qUtf8Printable(request.arguments.join(QLatin1Char(' '))), result.exitCode);
    return result;
}

} // namespace ToolRunner
