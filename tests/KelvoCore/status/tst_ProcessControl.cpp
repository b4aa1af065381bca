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
    // A list of two rows shows the two busiest by CPU and the two busiest by memory that the viewer is
    // shown; only the processes looked at on the way are described, each once.
    void aListShowsTheBusiestInEitherOrder_data()
    {
        // The viewer (root alone, root for every user, a user); the pids shown, by CPU; the pids
        // described.
        columns<qint64, bool, QString, QString>("uid", "allUsers", "shown", "described");
        row("a user sees everyone's", qint64(1000), false, "1 2 5 4", "1 2 5 4");
        row("root sees its own", qint64(0), false, "1 3 5 6", "1 2 3 5 4 6");
        row("root asking for every user's", qint64(0), true, "1 2 5 4", "1 2 5 4");
    }
    void aListShowsTheBusiestInEitherOrder()
    {
        const auto [uid, allUsers, shown, described] =
            fetch<qint64, bool, QString, QString>("uid", "allUsers", "shown", "described");
        // pid: CPU, memory, owner
        const std::vector<std::tuple<int, double, double, qint64>> table{
            {1, 90, 1, 0}, {2, 80, 2, 1000}, {3, 70, 3, 0}, {4, 1, 80, 1000}, {5, 2, 90, 0}, {6, 0, 70, 0}};
        LocalSystemStatus::Processes all;
        for (const auto& [pid, cpu, memory, owner] : table) {
            SystemReport::ProcessInfo process;
            std::tie(process.pid, process.cpu, process.memory) = std::tuple(pid, cpu, memory);
            all.push_back(process);
        }
        QStringList looked;
        const auto describe = [&](SystemReport::ProcessInfo& process) {
            looked << QString::number(*process.pid);
            process.uid = std::get<3>(table[std::size_t(*process.pid - 1)]);
        };
        QStringList pids;
        for (const auto& process : LocalSystemStatus::shownProcesses(all, {uid, allUsers}, 2, describe))
            pids << QString::number(*process.pid) + (process.uid ? "" : "?");
        QCOMPARE(pids.join(' '), shown);
        QCOMPARE(looked.join(' '), described);
    }

    void failuresCompareByKindAndCode()
    {
        using ProcessControl::Failure;
        QVERIFY(!(Failure(Kind::unknown, EIO) == Failure(Kind::unknown, EBUSY)));
        QVERIFY(Failure(Kind::notPermitted, EIO) == Failure(Kind::notPermitted));
    }
};

KELVO_REGISTER_TEST(ProcessControlTest)
#include "tst_ProcessControl.moc"
