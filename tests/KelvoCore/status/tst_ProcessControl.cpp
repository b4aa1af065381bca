// Ending a process from the dashboard: which processes are refused, and what a real child process
// receives when it is asked to quit or forced to.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "status/ProcessControl.h"

#include <QProcess>

#include <csignal>
#include <unistd.h>

using namespace TestSupport;
using Kind = ProcessControl::Failure::Kind;
Q_DECLARE_METATYPE(Kind)

namespace {

// The failure terminate() raises, caught the way the dashboard catches it: as a KelvoError.
std::optional<Kind> refusal(int pid, bool force = false)
{
    try {
        ProcessControl::terminate(pid, force);
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
        QCOMPARE(refusal(pid, force), expected);
        QVERIFY(!ProcessControl::canTerminate(pid));
    }

    void otherUserProcessesAreOffered()
    {
        QVERIFY(ProcessControl::canTerminate(101));
        QVERIFY(!ProcessControl::canTerminate(std::nullopt));
    }

    void childEndsByTheSignalAsked_data()
    {
        columns<bool, int>("force", "signal");
        row("quit", false, int(SIGTERM));
        row("force quit", true, int(SIGKILL));
    }
    void childEndsByTheSignalAsked()
    {
        const auto [force, signal] = fetch<bool, int>("force", "signal");
        QProcess child;
        child.start("/bin/sleep", {"30"});
        QVERIFY(child.waitForStarted());
        const int pid = int(child.processId());
        QVERIFY(ProcessControl::terminate(pid, force));
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        QCOMPARE(child.exitCode(), signal); // Qt reports the terminating signal as the exit code
        // Reaped by QProcess, the id names no process any more.
        QCOMPARE(refusal(pid), Kind::noSuchProcess);
    }

    void othersProcessesAreNotPermitted()
    {
        KELVO_SKIP_AS_ROOT();
        QProcess listing;
        listing.start("/bin/ps", {"-axo", "pid=,uid="});
        QVERIFY(listing.waitForFinished());
        for (const QByteArray& line : listing.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() == 2 && fields[0].toInt() > 100 && fields[1].toUInt() != geteuid()) {
                QCOMPARE(refusal(fields[0].toInt()), Kind::notPermitted);
                return;
            }
        }
        QSKIP("no other user's process to try");
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
