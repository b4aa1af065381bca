// Ending a process from the dashboard: which processes are refused, and what a real child process
// receives when it is asked to quit or forced to.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "status/LocalSystemStatus.h"
#include "status/ProcessControl.h"

#include <QProcess>

#include <csignal>
#include <unistd.h>

using namespace TestSupport;
using Kind = ProcessControl::Failure::Kind;
Q_DECLARE_METATYPE(Kind)

namespace {

// The process with this pid as the sampler lists it, with its start time and owner.
SystemReport::ProcessInfo listed(int pid)
{
    for (const SystemReport::ProcessInfo& process : LocalSystemStatus::processSnapshot())
        if (process.pid == pid)
            return process;
    SystemReport::ProcessInfo process;
    process.pid = pid;
    return process;
}

// The failure terminate() raises, caught the way the dashboard catches it: as a KelvoError.
std::optional<Kind> refusal(const SystemReport::ProcessInfo& process, bool force = false)
{
    try {
        ProcessControl::terminate(process, force);
    } catch (const KelvoError& error) {
        const auto* failure = dynamic_cast<const ProcessControl::Failure*>(&error);
        return failure && !error.description().isEmpty() ? std::optional(failure->kind()) : std::nullopt;
    }
    return std::nullopt;
}

} // namespace

class ProcessControlTest : public QObject {
    Q_OBJECT

private slots:
    void protectedProcessesAreRefusedAndNotOffered_data()
    {
        columns<int, bool, Kind>("pid", "force", "expected");
        row("zero", 0, false, Kind::invalidPID);
        row("init, even forced", 1, true, Kind::systemProcess);
        row("last system pid", 100, false, Kind::systemProcess);
        row("Kelvo itself", int(getpid()), true, Kind::selfProcess);
    }
    void protectedProcessesAreRefusedAndNotOffered()
    {
        const auto [pid, force, expected] = fetch<int, bool, Kind>("pid", "force", "expected");
        SystemReport::ProcessInfo process;
        process.pid = pid;
        QCOMPARE(refusal(process, force), expected);
        QVERIFY(!ProcessControl::canTerminate(process, ProcessControl::currentViewer(true)));
    }

    // A real child is ended by the signal asked for, and only while it is the process listed: with
    // another start time (its pid reused) or once it has exited, nothing is sent and the process "no
    // longer exists".
    void childEndsByTheSignalAsked_data()
    {
        columns<bool, qint64, int>("force", "startShift", "signal"); // signal 0: none is sent
        row("quit", false, qint64(0), int(SIGTERM));
        row("force quit", true, qint64(0), int(SIGKILL));
        row("another process's start time", true, qint64(1), 0);
    }
    void childEndsByTheSignalAsked()
    {
        const auto [force, startShift, signal] = fetch<bool, qint64, int>("force", "startShift", "signal");
        QProcess child;
        child.start("/bin/sleep", {"30"});
        QVERIFY(child.waitForStarted());
        SystemReport::ProcessInfo process = listed(int(child.processId()));
        QVERIFY(process.startTime);
        *process.startTime += startShift;
        if (signal == 0) {
            QCOMPARE(refusal(process, force), Kind::noSuchProcess);
            QVERIFY(!child.waitForFinished(200)); // still running
            child.kill();
        } else {
            QVERIFY(ProcessControl::terminate(process, force));
        }
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(child.exitCode(), signal ? signal : int(SIGKILL)); // Qt reports the signal as the exit code
        // Exited and reaped by QProcess, the child is no longer there to end.
        QCOMPARE(refusal(process), Kind::noSuchProcess);
    }

    // Another user's process is not ended: a child that runs as another user ("nobody") asks to end
    // one of this user's processes and is refused.
    void othersProcessesAreNotPermitted()
    {
        if (geteuid() != 0)
            QSKIP("only root can run a child as another user");
        QProcess target;
        target.start("/bin/sleep", {"30"});
        QVERIFY(target.waitForStarted());
        const SystemReport::ProcessInfo process = listed(int(target.processId()));
        QVERIFY(SyntheticHome::asUnprivileged({}, [&] { return refusal(process) == Kind::notPermitted; }));
        QVERIFY(!target.waitForFinished(100)); // still running
        target.kill();
        target.waitForFinished();
    }

    // Only an unknown failure keeps its error code.
    void failuresCompareByKindAndCode()
    {
        using ProcessControl::Failure;
        QVERIFY(!(Failure(Kind::unknown, EIO) == Failure(Kind::unknown, EBUSY)));
        QVERIFY(Failure(Kind::notPermitted, EIO) == Failure(Kind::notPermitted));
    }
};

KELVO_REGISTER_TEST(ProcessControlTest)
#include "tst_ProcessControl.moc"
