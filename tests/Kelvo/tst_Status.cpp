#include "TestMain.h"

#include "AppModelFixture.h"
#include "features/StatusPresenter.h"

#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>

#include <atomic>

using namespace TestSupport;

Q_DECLARE_METATYPE(std::optional<int>)
Q_DECLARE_METATYPE(QList<std::optional<double>>)

namespace {

using Process = SystemReport::ProcessInfo;

Process process(int pid, std::optional<double> cpu, std::optional<double> memory, const QString& name = {})
{
    return {pid, 1, name.isEmpty() ? "p" + QString::number(pid) : name, "/usr/bin/p", cpu, memory, {}, {}};
}

// A sampler that counts its calls and how many run at once, and can be held until released.
struct CountingSampler {
    std::atomic_int calls = 0, running = 0, mostAtOnce = 0;
    QSemaphore gate{1000};
    LocalSystemStatus::Processes processes{process(200, 5, 1), process(300, 50, 2), process(400, 50, 9)};

    StatusSampling sampling(std::chrono::milliseconds period)
    {
        return {[this](const std::optional<LocalSystemStatus::Processes>& listed) {
                    const int now = ++running;
                    mostAtOnce = std::max(mostAtOnce.load(), now);
                    gate.acquire();
                    gate.release();
                    SystemReport report;
                    report.healthScore = 80 + ++calls;
                    report.topProcesses = listed.value_or(LocalSystemStatus::Processes{});
                    --running;
                    return report;
                },
                [this] { return processes; }, period};
    }
};

bool refreshed(StatusController& status)
{
    return QTest::qWaitFor([&] { return !status.isRefreshing(); });
}

SystemReport::Disk disk(std::optional<double> usedPercent)
{
    SystemReport::Disk disk;
    disk.usedPercent = usedPercent;
    return disk;
}

} // namespace

class TestStatus : public QObject {
    Q_OBJECT

private slots:
    // While live, samples follow each other a period apart and never overlap, not even with a refresh
    // asked for meanwhile; off, nothing more is sampled.
    void theLiveLoopSamplesOneAtATime()
    {
        AppModelFixture fixture;
        CountingSampler sampler;
        const auto model = fixture.makeModel({}, sampler.sampling(std::chrono::milliseconds(10)));
        StatusController& status = *model->status();
        status.setLive(true);
        QTRY_VERIFY(sampler.calls >= 3);
        for (int i = 0; i < 5; ++i)
            model->request(AppActionFactory::status(true));
        QTRY_VERIFY(sampler.calls >= 6);
        status.setLive(false);
        QVERIFY(refreshed(status));
        const int calls = sampler.calls;
        QTest::qWait(60);
        QCOMPARE(sampler.calls, calls);
        QCOMPARE(sampler.mostAtOnce.load(), 1);
        QVERIFY(finished(*model));
        QCOMPARE(model->runs()->statusTitle(), QString("Status Updated"));
    }

    // A refresh asked for during another joins it: one sample, and the status line says so once.
    void aRefreshDuringARefreshJoinsIt()
    {
        AppModelFixture fixture;
        CountingSampler sampler;
        const auto model = fixture.makeModel({}, sampler.sampling(std::chrono::hours(1)));
        StatusController& status = *model->status();
        sampler.gate.acquire(1000);
        auto open = qScopeGuard([&] { sampler.gate.release(1000); }); // also when a check fails
        QSignalSpy done(&status, &StatusController::refreshed);
        status.prime();
        model->request(AppActionFactory::status(true));
        status.prime(); // a sample is under way: nothing more
        QVERIFY(model->runs()->isRunning() && status.isRefreshing());
        open.dismiss();
        sampler.gate.release(1000);
        QVERIFY(finished(*model));
        QCOMPARE(sampler.calls.load(), 1);
        QCOMPARE(done.count(), 1);
        QCOMPARE(model->runs()->statusDetail(), QString("Current system status has been refreshed."));
        QCOMPARE(status.report()->topProcesses, sampler.processes); // the list the refresh took
    }

    // The rows are the busiest first by the chosen measure; equal ones keep the sampler's order and a
    // missing value counts as 0. Only the processes one may end can be ended.
    void processRowsFollowTheChosenOrder_data()
    {
        columns<QStringList>("pids"); // tagged with the measure
        row("cpu", QStringList{"300", "400", "200", "100"});
        row("memory", QStringList{"400", "300", "200", "100"});
    }
    void processRowsFollowTheChosenOrder()
    {
        const auto [pids] = fetch<QStringList>("pids");
        AppModelFixture fixture;
        CountingSampler sampler;
        sampler.processes.push_back(process(100, std::nullopt, std::nullopt));
        const auto model = fixture.makeModel({}, sampler.sampling(std::chrono::hours(1)));
        StatusController& status = *model->status();
        QAbstractItemModelTester tester(status.processes());
        status.setProcessSort(QTest::currentDataTag());
        status.refresh(false);
        QVERIFY(refreshed(status));
        QCOMPARE(column(*status.processes(), "pid"), pids);
        QCOMPARE(column(*status.processes(), "canEnd").back(), QString("false")); // pid 100
    }

    // A new sample changes the rows in place: a row that stays keeps its place in the views (moved, not
    // rebuilt), a process that ended loses its row, and while the list is held nothing moves.
    void rowsChangeInPlace_data()
    {
        // The processes of the second sample (pid:cpu), whether the list is held meanwhile; the rows
        // after it, and the model's announcements (m: move, i: insert, r: remove, c: changed figures).
        columns<QString, bool, QString, QString>("second", "held", "rows", "announced");
        row("same figures", "300:50 400:50 200:5", false, "300 400 200", "");
        row("one busier", "300:50 400:60 200:5", false, "400 300 200", "m c");
        row("one ended", "300:50 200:5", false, "300 200", "r");
        row("one new", "300:50 400:50 200:5 500:90", false, "500 300 400 200", "i");
        row("a pid taken by another", "300:50 400:50 200:5", false, "300 400 200", "r i");
        row("held while a menu is open", "400:60 200:5", true, "300 400 200", "");
    }
    void rowsChangeInPlace()
    {
        const auto [second, held, rows, announced] =
            fetch<QString, bool, QString, QString>("second", "held", "rows", "announced");
        AppModelFixture fixture;
        CountingSampler sampler;
        const auto model = fixture.makeModel({}, sampler.sampling(std::chrono::hours(1)));
        StatusController& status = *model->status();
        ProcessListModel& list = *status.processes();
        QAbstractItemModelTester tester(&list);
        status.refresh(false);
        QVERIFY(refreshed(status));
        sampler.processes.clear();
        const QMap<int, double> memory{{200, 1}, {300, 2}, {400, 9}, {500, 3}};
        for (const QString& entry : second.split(' ')) {
            const int pid = entry.section(':', 0, 0).toInt();
            sampler.processes.push_back(process(pid, entry.section(':', 1).toDouble(), memory[pid]));
            if (pid == 400 && QTest::currentDataTag() == QString("a pid taken by another"))
                sampler.processes.back().startTime = 7;
        }
        status.setListHeld(held);
        QStringList seen;
        connect(&list, &QAbstractItemModel::rowsMoved, this, [&seen] { seen << "m"; });
        connect(&list, &QAbstractItemModel::rowsInserted, this, [&seen] { seen << "i"; });
        connect(&list, &QAbstractItemModel::rowsRemoved, this, [&seen] { seen << "r"; });
        connect(&list, &QAbstractItemModel::modelReset, this, [&seen] { seen << "reset"; });
        connect(&list, &QAbstractItemModel::dataChanged, this, [&seen] { seen << "c"; });
        status.refresh(false);
        QVERIFY(refreshed(status));
        QCOMPARE(column(list, "pid").join(' '), rows);
        QCOMPARE(seen.join(' '), announced);
        if (held) { // let go, the list takes the sample it held back
            status.setListHeld(false);
            QCOMPARE(column(list, "pid").join(' '), QString("400 200"));
        }
    }

    // Ending a process: a refusal says why and keeps the list; a process that went is taken off it.
    void endingAProcess()
    {
        AppModelFixture fixture;
        CountingSampler sampler;
        QProcess child;
        child.start("/bin/sleep", {"30"});
        QVERIFY(child.waitForStarted());
        const int pid = int(child.processId());
        for (const Process& listed : LocalSystemStatus::processSnapshot())
            if (listed.pid == pid)
                sampler.processes.push_back(listed);
        const auto model = fixture.makeModel({}, sampler.sampling(std::chrono::hours(1)));
        StatusController& status = *model->status();
        status.refresh(false);
        QVERIFY(refreshed(status));

        status.endProcess(1, "", "init", true);
        QCOMPARE(alertOf(*model), QString("This is a system process and cannot be terminated."));
        const qint64 start = sampler.processes.back().startTime.value_or(0);
        status.endProcess(pid, QString::number(start + 1), "sleep", true); // not the process listed
        QCOMPARE(alertOf(*model), QString("Process no longer exists."));
        QCOMPARE(status.processUsage().size(), std::size_t(4));

        status.endProcess(pid, QString::number(start), "sleep", true);
        QVERIFY(child.waitForFinished());
        QCOMPARE(child.exitStatus(), QProcess::CrashExit); // killed
        QCOMPARE(status.processUsage().size(), std::size_t(3));
        QVERIFY(!column(*status.processes(), "pid").contains(QString::number(pid)));
        QCOMPARE(model->runs()->statusDetail(), QString("Force-quit sleep (PID %1).").arg(pid));
    }

    // Run as root, another user's process is listed only when every user's are asked for.
    void otherUsersAreListedWhenAsked()
    {
        AppModelFixture fixture;
        CountingSampler sampler;
        sampler.processes[0].uid = 0;
        sampler.processes[1].uid = 1000;
        const auto model = fixture.makeModel({}, sampler.sampling(std::chrono::hours(1)));
        StatusController& status = *model->status();
        status.refresh(false);
        QVERIFY(refreshed(status));
        const bool root = geteuid() == 0;
        QCOMPARE(status.allUsersOffered(), root);
        QCOMPARE(column(*status.processes(), "pid"),
                 root ? QStringList({"400", "200"}) : QStringList({"300", "400", "200"}));
        status.setAllUsers(true);
        QCOMPARE(column(*status.processes(), "pid"), QStringList({"300", "400", "200"}));
    }

    // The hero card's verdict and the disk warning change exactly at their thresholds; a report
    // without a score has no verdict, and no report has not been checked.
    void cardsChangeAtTheirThresholds_data()
    {
        using Disks = QList<std::optional<double>>;
        columns<bool, std::optional<int>, QString, Disks, QString>("reported", "score", "hero", "disks",
                                                                   "hint");
        const QString high = "Disk usage is high, consider a cleanup";
        row("no report", false, std::optional<int>(), "Not Checked", Disks{}, "");
        row("no score", true, std::optional<int>(), "Unknown", Disks{std::nullopt}, "");
        row("76", true, std::optional(76), "Good", Disks{89.9, std::nullopt}, "");
        row("75", true, std::optional(75), "Fair", Disks{90.0, std::nullopt}, high);
        row("46", true, std::optional(46), "Fair", Disks{94.9}, high);
        row("45", true, std::optional(45), "High Pressure", Disks{10, 95.0},
            "Disk almost full, clean up soon");
    }
    void cardsChangeAtTheirThresholds()
    {
        const auto [reported, score, hero, disks, hint] =
            fetch<bool, std::optional<int>, QString, QList<std::optional<double>>, QString>(
                "reported", "score", "hero", "disks", "hint");
        std::optional<SystemReport> report;
        if (reported) {
            report = SystemReport{};
            report->healthScore = score;
            report->disks.emplace();
            for (const std::optional<double>& used : disks)
                report->disks->push_back(disk(used));
        }
        const QVariantMap cards = StatusPresenter::present(report);
        QCOMPARE(cards["hero"].toMap()["label"].toString(), hero);
        QCOMPARE(cards["diskHint"].toString(), hint);
        QCOMPARE(cards["power"].toMap()["percentText"].toString(), QString("No battery"));
    }
};

KELVO_REGISTER_TEST(TestStatus)
#include "tst_Status.moc"
