#include "TestMain.h"

#include "AppModelFixture.h"
#include "SyntheticHome.h"

#include "../KelvoCore/optimize/StandInTool.h"
#include "clean/CleanWhitelistStore.h"
#include "optimize/OptimizeWhitelistStore.h"
#include "vocabulary/BackgroundRun.h"

#include <QRegularExpression>
#include <QSignalSpy>

#include <functional>
#include <stdexcept>
#include <vector>

// Starts something on a model; `item` is a file of the synthetic home.
using Start = std::function<void(AppModel&, const QString& item)>;
Q_DECLARE_METATYPE(Start)

namespace {

using namespace SyntheticHome;
using namespace TestSupport;

const QString working = QStringLiteral("Working, please wait.");

// Every (isRunning, runningFeature) pair the model publishes, in order.
struct RunStateRecorder {
    std::vector<std::pair<bool, int>> states;
    explicit RunStateRecorder(AppModel& model)
    {
        QObject::connect(model.runs(), &RunCoordinator::runStateChanged, &model, [this, &model] {
            states.emplace_back(model.runs()->isRunning(), model.runs()->runningFeatureValue());
        });
    }
};

// Lets every worker end and delivers what they posted, so a late result would be seen.
void settle()
{
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

const Start preview = [](AppModel& m, const QString&) { m.request(AppActionFactory::clean(true)); };
const Start analyseHome = [](AppModel& m, const QString&) { m.analysis()->analyze(m.environment().home); };
const Start confirmedClean = [](AppModel& m, const QString&) {
    m.request(AppActionFactory::clean(false));
    m.confirmPendingAction();
};
const Start optimizePreview = [](AppModel& m, const QString&) {
    m.request(AppActionFactory::optimize(true));
};
const Start confirmedOptimize = [](AppModel& m, const QString&) {
    m.request(AppActionFactory::optimize(false));
    m.confirmPendingAction();
};

} // namespace

class TestAppModelLifecycle : public QObject {
    Q_OBJECT

private slots:
    // A destructive action is parked: cancelled, it never runs; confirmed, it runs once as its feature.
    void destructiveActionsWaitForConfirmation_data()
    {
        columns<AppAction>("action"); // tagged with the feature it runs
        row("clean", AppActionFactory::clean(false));
        row("uninstall", AppActionFactory::uninstall(false));
        row("optimize", AppActionFactory::optimize(false));
    }
    void destructiveActionsWaitForConfirmation()
    {
        const auto [action] = fetch<AppAction>("action");
        AppModelFixture fixture;
        const QString data = file(fixture.caches() + "/data.bin");
        const auto model = fixture.makeModel();
        RunStateRecorder recorder(*model);
        model->request(action);
        model->cancelPendingAction();
        model->confirmPendingAction(); // nothing left to confirm
        QVERIFY(recorder.states.empty() && exists(data));

        QSignalSpy pending(model.get(), &AppModel::pendingActionChanged);
        model->request(action);
        QCOMPARE(pending.count(), 1);
        QCOMPARE(model->pendingActionValue().value<AppAction>(), action);
        model->confirmPendingAction();
        QVERIFY(!model->pendingAction() && finished(*model));
        const AppFeature feature = *AppFeatures::fromRawValue(QTest::currentDataTag());
        QCOMPARE(recorder.states.front(), std::make_pair(true, int(AppFeatureQml::of(feature))));
        QCOMPARE(recorder.states.back(), std::make_pair(false, -1));
        QCOMPARE(exists(data), QTest::currentDataTag() != QByteArray("clean")); // a preview was taken first
    }

    // Actions done at once read as working under their own title, then say how they ended.
    void immediateRuns()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        QStringList seen;
        connect(model->runs(), &RunCoordinator::statusChanged, this,
                [&] { seen << model->runs()->statusTitle() + ": " + model->runs()->statusDetail(); });
        const auto ran = [&](const AppAction& action) {
            seen.clear();
            model->runs()->dismissAlert();
            return run(*model, action) && seen.first() == action.title + ": " + working ? seen.last()
                                                                                        : QString();
        };
        QCOMPARE(ran(AppActionFactory::version()), QString("Version Updated: Local Build"));
        QCOMPARE(ran(AppActionFactory::purgePaths()), QString("Completed: Set Scan Scope is finished."));
        QVERIFY(!model->runs()->alertMessage());
        const QString unavailable = "This feature is not available in Kelvo yet.";
        QCOMPARE(ran(AppActionFactory::touchID(true)), "Not Available: " + unavailable);
        QCOMPARE(alertOf(*model), unavailable);
    }

    // A cancelled run shows nothing new and says so; what was shown stays.
    void aCancelledRunKeepsWhatWasShown_data()
    {
        columns<Start, QString>("start", "title");
        row("clean preview", preview, "Preview Cancelled");
        row("analysis", analyseHome, "Analysis Cancelled");
        row("the preview a clean takes first", confirmedClean, "Cleanup Cancelled");
        row("optimize preview", optimizePreview, "Preview Cancelled");
        row("the preview an optimisation takes first", confirmedOptimize, "Optimization Cancelled");
    }
    void aCancelledRunKeepsWhatWasShown()
    {
        const auto [start, title] = fetch<Start, QString>("start", "title");
        AppModelFixture fixture;
        const QString data = file(fixture.caches() + "/data.bin", 100);
        const auto model = fixture.makeModel();
        analyseHome(*model, data);
        QVERIFY(finished(*model));
        const std::optional<AnalysisReport> analysed = model->analysis()->report();
        {
            const WorkersHeld held; // the run cannot end before it is cancelled
            start(*model, data);
            QVERIFY(model->runs()->canCancel());
            model->runs()->cancel();
        }
        QVERIFY(finished(*model));
        QCOMPARE(model->runs()->statusTitle(), title);
        QCOMPARE(model->analysis()->report(), analysed);
        QVERIFY(!model->clean()->report() && exists(data));
        QVERIFY(model->runs()->progress().isEmpty() && !model->runs()->canCancel());
    }

    // Whatever stops a run, an alert says why, the status moves on from "Working…" and nothing goes.
    void aRunThatFailsEndsInAnAlert_data()
    {
        // home: "{home}" is the synthetic one, its protection list unreadable; why: part of the alert
        columns<QString, Start, QString>("home", "start", "why");
        const Start throwing = [](AppModel& m, const QString&) {
            RunCoordinator& runs = *m.runs();
            runs.setStatus(LocalText::same("Analyze"), LocalText::same(working));
            const RunCoordinator::RunHandle run = runs.begin(RunKind::analysis, AppFeature::analyze, true);
            const auto work = [](const std::atomic_bool*) -> int {
                throw std::runtime_error("the disk went away");
            };
            runs.finish(run, BackgroundRun::start(run->cancelled, work), LocalText::same("Cancelled"),
                        [](int) { QFAIL("a failed run published"); });
        };
        row("clean, unreadable protection list", "{home}", confirmedClean,
            "stopped before removing anything");
        row("clean, no home", "", confirmedClean, "HOME is empty");
        row("preview, home is /", "/", preview, "root folder");
        row("a worker throws", "{home}", throwing, "something went wrong");
        row("optimize, unreadable safeguard list", "{home}", confirmedOptimize, "whitelist_optimize");
    }
    void aRunThatFailsEndsInAnAlert()
    {
        auto [home, start, why] = fetch<QString, Start, QString>("home", "start", "why");
        AppModelFixture fixture;
        const QString item = file(fixture.caches() + "/item", 10);
        write(CleanWhitelistStore::configURL(fixture.home), "~/caf\xe9\n");
        write(OptimizeWhitelistStore::optimizeConfigURL(fixture.home), "caf\xe9\n");
        const QString ran = fixture.root.filePath("a tool ran");
        standInTool(fixture.systemRoot, "/usr/bin/fc-cache", "touch '" + ran.toUtf8() + "'");
        fixture.home = home.replace("{home}", fixture.home);
        const auto model = fixture.makeModel();
        start(*model, item);
        QVERIFY(finished(*model));
        QVERIFY2(alertOf(*model).contains(why), qPrintable(alertOf(*model)));
        QVERIFY(model->runs()->statusDetail() != working);
        QVERIFY(exists(item) && !model->clean()->report() && !exists(ran));
        QCOMPARE(model->statistics()->count(StatisticKey::lastCleanCount), 0);
    }

    // A new run supersedes one of its kind (only its result shows); a run of another kind keeps its own.
    void aNewRunSupersedesTheOneOfItsKind()
    {
        AppModelFixture fixture;
        file(fixture.home + "/first/a.bin", 100);
        file(fixture.home + "/second/b.bin", 200);
        file(fixture.home + "/code/web/node_modules/x.js", 300);
        const auto model = fixture.makeModel();
        model->purge()->setScanPath(fixture.home + "/code");
        RunStateRecorder recorder(*model);
        QSignalSpy reports(model->analysis(), &AnalysisController::reportChanged);
        QStringList titles;
        connect(model->runs(), &RunCoordinator::statusChanged, this,
                [&] { titles << model->runs()->statusTitle(); });
        {
            const WorkersHeld held; // nothing ends before all three are asked for
            model->analysis()->analyze(fixture.home + "/first");
            model->request(AppActionFactory::purge(true));
            model->analysis()->analyze(fixture.home + "/second");
        }
        QVERIFY(finished(*model));
        settle();
        QCOMPARE(reports.count(), 1);
        QCOMPARE(model->analysis()->report()->path, fixture.home + "/second");
        QCOMPARE(model->statistics()->text(StatisticKey::lastAnalysisPath), fixture.home + "/second");
        QCOMPARE(titles.filter("Analysis C").join('|'), QString("Storage Analysis Complete"));
        QCOMPARE(model->purge()->report()->entries.size(), std::size_t(1));
        QCOMPARE(std::count(recorder.states.begin(), recorder.states.end(), std::make_pair(false, -1)), 1);
    }

    // Closing the window during a scan: the model goes, and the scan's result is neither shown nor stored.
    void closingDuringAScanDropsItsResult()
    {
        QTest::failOnWarning(QRegularExpression(".")); // e.g. a result handled on the worker's thread
        AppModelFixture fixture;
        manyFiles(fixture.home + "/many", 1000, 10, 100);
        auto model = fixture.makeModel();
        model->analysis()->analyze(fixture.home);
        QVERIFY(model->runs()->isRunning());
        model.reset();
        settle();
        QCOMPARE(DefaultsStore::open()->value("lastAnalysisPath"), QVariant());
        QCOMPARE(DefaultsStore::open()->value("lastAnalysisDate"), QVariant());
    }
};

KELVO_REGISTER_TEST(TestAppModelLifecycle)
#include "tst_AppModelLifecycle.moc"
