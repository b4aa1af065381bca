#include "TestMain.h"

#include "../KelvoCore/optimize/StandInTool.h"
#include "AppModelFixture.h"
#include "SyntheticHome.h"

#include "optimize/OptimizePreviewCatalog.h"
#include "optimize/OptimizeWhitelistStore.h"

using namespace SyntheticHome;
using State = OptimizeStepState;

namespace {

// What a run would do with each step of the shown preview, or what it did, by step id.
QMap<QString, State> statesOf(const std::vector<OptimizeStepOutcome>& steps)
{
    QMap<QString, State> states;
    for (const OptimizeStepOutcome& step : steps)
        states.insert(step.entry.id, step.state);
    return states;
}

} // namespace

class TestAppModelOptimize : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (TargetSystems::built() != TargetSystem::linuxDesktop)
            QSKIP("the stand-in tools are those of the Linux steps");
    }

    // A preview runs no tool; a confirmed run skips what the safeguard list protects, runs the rest with
    // the stand-in tools and counts both in its status and statistics. (What the confirmation names, the
    // window's optimisation test checks.)
    void aConfirmedRunSkipsTheSafeguardedStepsAndCountsTheRest()
    {
        AppModelFixture fixture;
        const QString marker = fixture.root.filePath("fc-cache ran");
        standInTool(fixture.systemRoot, "/usr/bin/fc-cache", "touch '" + marker.toUtf8() + "'");
        standInTool(fixture.systemRoot, "/usr/bin/resolvectl", "exit 3");
        write(fixture.systemRoot + "/run/systemd/resolve/io.systemd.Resolve", "");
        const QString thumbnail = file(fixture.home + "/.cache/thumbnails/normal/a.png");
        OptimizeWhitelistStore::save({{"thumbnail_cache_cleanup"}, {}}, fixture.home);
        const auto model = fixture.makeModel();
        OptimizeController& optimize = *model->optimize();
        QAbstractItemModelTester tester(optimize.steps());

        QVERIFY(run(*model, AppActionFactory::optimize(true)));
        const QMap<QString, State> planned{
            {"dns_cache_flush", State::willRun},           {"thumbnail_cache_cleanup", State::protectedStep},
            {"font_cache_rebuild", State::willRun},        {"desktop_database_refresh", State::unavailable},
            {"mime_database_refresh", State::unavailable}, {"autostart_audit", State::reportOnly},
            {"failed_units_reset", State::unavailable}};
        QVERIFY(statesOf(optimize.planned()) == planned);
        QCOMPARE(optimize.steps()->count(), int(planned.size()));
        QCOMPARE(optimize.willRunCount(), 2);

        QVERIFY(!exists(marker));
        QVERIFY(runConfirmed(*model, AppActionFactory::optimize(false)));
        QVERIFY(exists(marker) && exists(thumbnail));
        const LocalOptimizeResult& result = *optimize.lastResult();
        QCOMPARE(result.completed.size(), std::size_t(1));
        QCOMPARE(result.completed.front().id, QString("font_cache_rebuild"));
        QCOMPARE(statesOf(result.steps).value("dns_cache_flush"), State::failed);
        // Each outcome counted apart: one safeguarded, four that cannot run on this computer.
        const QString said = model->runs()->statusDetail();
        for (const char* part : {"1 step", "1 failed", "1 safeguarded", "4 cannot run here"})
            QVERIFY2(said.contains(part), qPrintable(said));
        QCOMPARE(model->statistics()->count(StatisticKey::lastOptimizeCount), 1);
        QVERIFY(model->statistics()->date(StatisticKey::lastOptimizeDate) > 0);
        // The rows now tell what happened, the time it took included.
        QVERIFY(!column(*optimize.steps(), "durationText")[2].isEmpty());
        QCOMPARE(column(*optimize.steps(), "tone")[0], QString::number(OptimizeStepModel::Failed));
    }

    // The editor saves the ticked steps and keeps the lines that name none but those removed; start-up
    // reads them back, and an unreadable list leaves nothing ticked without a word.
    void theSafeguardsAreSavedAndReadAtStartUp()
    {
        AppModelFixture fixture;
        const QString path = OptimizeWhitelistStore::optimizeConfigURL(fixture.home);
        write(path, "font_cache_rebuild\nmy-own-step\nold-step\n");
        const auto model = fixture.makeModel();
        model->startUp();
        OptimizeController& optimize = *model->optimize();
        QAbstractItemModelTester tester(optimize.safeguardOptions());
        QCOMPARE(optimize.safeguards().selectedKeys, QSet<QString>{"font_cache_rebuild"});
        QCOMPARE(optimize.customKeys(), (QStringList{"my-own-step", "old-step"}));

        model->request(AppActionFactory::optimizeWhitelist());
        QVERIFY(optimize.showingProtectionSheet());
        optimize.setSafeguarded("font_cache_rebuild", false);
        optimize.setSafeguarded("autostart_audit", true);
        optimize.removeCustomKey(1);
        QVERIFY(optimize.saveWhitelistEditor());
        QVERIFY(!optimize.showingProtectionSheet() && !model->runs()->alertMessage());
        const auto again = fixture.makeModel();
        again->startUp();
        QCOMPARE(again->optimize()->safeguards(),
                 (OptimizeWhitelistState{{"autostart_audit"}, {"my-own-step"}}));
        // A save that cannot write says why and keeps the editor open.
        again->request(AppActionFactory::optimizeWhitelist());
        QVERIFY(QFile::remove(path) && QDir().mkpath(path)); // a folder where the file goes
        QVERIFY(!again->optimize()->saveWhitelistEditor());
        QVERIFY(again->optimize()->showingProtectionSheet() && again->runs()->alertMessage());
        QVERIFY(QDir(path).removeRecursively());

        write(path, "caf\xe9\n");
        const auto unreadable = fixture.makeModel();
        unreadable->startUp();
        QVERIFY(unreadable->optimize()->safeguards().selectedKeys.isEmpty() &&
                !unreadable->runs()->alertMessage());
        // Its preview says why no run will start, rather than promising steps on a guess.
        QVERIFY(run(*unreadable, AppActionFactory::optimize(true)));
        QVERIFY(unreadable->optimize()->summary().contains(path));
    }
};

KELVO_REGISTER_TEST(TestAppModelOptimize)
#include "tst_AppModelOptimize.moc"
