#include "TestMain.h"

#include "AppModelFixture.h"
#include "SyntheticHome.h"

#include "platform/Trash.h"

#include <QScopeGuard>
#include <QSignalSpy>

#include <unistd.h>

using namespace SyntheticHome;
using namespace TestSupport;

class TestAppModelClean : public QObject {
    Q_OBJECT

private slots:
    // The clean removes exactly what was previewed (not what arrived since) and previews again.
    void previewThenClean()
    {
        AppModelFixture fixture;
        const QString data = file(fixture.caches() + "/app/data.bin", 4096);
        const QString old = file(fixture.caches() + "/old.log", 100);
        const auto model = fixture.makeModel();
        QSignalSpy reportChanged(model->clean(), &CleanController::reportChanged);
        {
            const WorkersHeld held; // a small preview could otherwise end before it is looked at
            model->request(AppActionFactory::clean(true));
            QCOMPARE(model->runs()->runningFeature(), std::optional(AppFeature::clean));
        }
        QVERIFY(finished(*model));
        QCOMPARE(reportChanged.count(), 1);
        QCOMPARE(model->runs()->statusTitle(), QString("Preview Complete"));
        QVERIFY(exists(data) && exists(old));
        QCOMPARE(model->clean()->cleanableCount(), 1);

        const QString arrivedLater = file(fixture.trash() + "/files/new.txt", 100);
        const double before = QDateTime::currentSecsSinceEpoch();
        QVERIFY(runConfirmed(*model, AppActionFactory::clean(false)));
        QVERIFY(!exists(data) && !exists(old) && exists(fixture.caches()) && exists(arrivedLater));
        QVERIFY(model->runs()->statusDetail().startsWith("Removed 2 files, freeing "));
        QCOMPARE(model->statistics()->count(StatisticKey::lastCleanCount), 2);
        QVERIFY(model->statistics()->date(StatisticKey::lastCleanDate) >= before);
        QCOMPARE(DefaultsStore::open()->value("lastCleanCount").toLongLong(), 2);
        QCOMPARE(model->clean()->report()->entries.size(), std::size_t(1)); // the fresh one sees the new file
    }

    // With another system's places (KELVO_SYSTEM) the window previews them and every step that would
    // act refuses, saying why, before anything changes.
    void aForeignSystemPreviewsButNeverActs()
    {
        AppModelFixture fixture;
        fixture.target = {TargetSystem::macOS, true};
        file(fixture.home + "/Library/Caches/com.example.foo/data.bin", 4096);
        makeApp(fixture.home + "/Applications", "Foo", "com.example.foo");
        const auto model = fixture.makeModel();
        model->request(AppActionFactory::clean(true));
        QVERIFY(finished(*model));
        QCOMPARE(model->clean()->cleanableCount(), 1);
        model->uninstall()->scan();
        QVERIFY(finished(*model));
        const QMap<QString, QByteArray> before = tree(fixture.root.path());
        QVERIFY(runConfirmed(*model, AppActionFactory::clean(false)));
        QVERIFY(model->runs()->alertMessage().value_or(QString()).contains("for previews only"));
        model->runs()->dismissAlert();
        model->uninstall()->uninstall({model->uninstall()->report()->entries.front().id}, {});
        QVERIFY(finished(*model));
        QVERIFY(model->runs()->alertMessage().value_or(QString()).contains("for previews only"));
        QVERIFY(!model->optimize()->saveWhitelistEditor());
        QCOMPARE(tree(fixture.root.path()), before);
    }

    // A preview chooses everything it offers; the totals and the confirmation follow the choice, the
    // clean takes only what stayed chosen, and what the user left out stays out of the next preview's
    // choice, so a second clean does not take it either.
    void cleanTakesOnlyTheChosenEntries_data()
    {
        columns<QStringList>("leftOut");
        row("the Trash left out", QStringList{"trash"});
        row("a cache left out", QStringList{"npm"});
        row("everything left out", QStringList{"pip", "npm", "trash"});
    }
    void cleanTakesOnlyTheChosenEntries()
    {
        const auto [leftOut] = fetch<QStringList>("leftOut");
        AppModelFixture fixture;
        const QMap<QString, QString> places{
            {"pip", fixture.home + "/" + fixture.catalogue().developerTools.targets[4].relativePath},
            {"npm", fixture.caches()},
            {"trash", fixture.trash()}};
        for (const QString& place : places)
            file(place + "/files/data", 9000);
        const auto model = fixture.makeModel();
        ChoiceListModel& clean = *model->clean()->entries();
        QVERIFY(run(*model, AppActionFactory::clean(true)));
        QCOMPARE(clean.chosenCount(), 3);
        QStringList keys{fixture.home + "/not/offered"};
        for (const QString& name : leftOut)
            keys << places[name];
        clean.setChosen(keys, false);

        model->request(AppActionFactory::clean(false));
        // The confirmation names the Trash only when it is chosen.
        QCOMPARE((model->pendingAction()->detail + model->pendingActionNote()).contains("Trash"),
                 !leftOut.contains("trash"));
        model->confirmPendingAction();
        QVERIFY(finished(*model));
        for (const QString& name : places.keys())
            QCOMPARE(exists(places[name] + "/files/data"), leftOut.contains(name));
        QCOMPARE(clean.chosenCount(), 0);
        model->request(AppActionFactory::clean(false));
        model->confirmPendingAction();
        QVERIFY(finished(*model));
        for (const QString& name : leftOut)
            QVERIFY(exists(places[name] + "/files/data"));
    }

    // What a clean leaves behind is counted in the status and said in the alert.
    void whatStayedIsCountedAndSaid()
    {
        AppModelFixture fixture;
        file(fixture.caches() + "/free", 10);
        file(fixture.root.filePath("outside/precious"));
        const BindMount mount(fixture.root.filePath("outside"), folder(fixture.caches() + "/mounted"));
        if (!mount.mounted())
            QSKIP("this process may not mount");
        const auto model = fixture.makeModel();
        QVERIFY(runConfirmed(*model, AppActionFactory::clean(false)));
        QVERIFY(model->runs()->statusDetail().startsWith("Removed 1 file, 1 stayed, freeing "));
        QVERIFY(alertOf(*model).contains(fixture.caches() + "/mounted"));
        QVERIFY(exists(fixture.root.filePath("outside/precious")));
    }

    // Progress arrives as often as the machine allows; it is always the running preview's own.
    void progressBelongsToTheRunningPreview()
    {
        AppModelFixture fixture;
        manyFiles(fixture.caches() + "/many", 5000, 0, 500);
        const auto model = fixture.makeModel();
        QStringList locations;
        connect(model->runs(), &RunCoordinator::progressChanged, this, [&] {
            QVERIFY(model->runs()->isRunning() || model->runs()->progress().isEmpty());
            if (!model->runs()->progress().isEmpty())
                locations << model->runs()->progress().value("location").toString();
        });
        model->request(AppActionFactory::clean(true));
        QVERIFY(finished(*model));
        for (const QString& location : locations)
            QVERIFY2(location.startsWith(fixture.home), qPrintable(location));
        QVERIFY(model->runs()->progress().isEmpty());
    }

    // The page starts in the Library folder where there is one, else in the home folder; a folder chosen
    // is analysed at once, and counting everything analyses it again with its hidden items.
    void analysisStartsChoosesAndCountsEverything_data()
    {
        columns<bool>("withLibrary");
        row("home with a Library folder", true);
        row("home without one", false);
    }
    void analysisStartsChoosesAndCountsEverything()
    {
        const auto [withLibrary] = fetch<bool>("withLibrary");
        AppModelFixture fixture;
        if (withLibrary)
            folder(fixture.home + "/Library");
        file(fixture.home + "/Projects/.git/config", 30);
        file(fixture.home + "/Projects/main.c", 70);
        const auto model = fixture.makeModel();
        QCOMPARE(model->analysis()->path(), withLibrary ? fixture.home + "/Library" : fixture.home);
        model->analysis()->choosePath(QUrl::fromLocalFile(fixture.home + "/Projects"));
        QVERIFY(finished(*model));
        QVERIFY(!model->analysis()->leftOutNote().isEmpty()); // the hidden folder
        QCOMPARE(model->analysis()->report()->totalSize, 70);
        model->analysis()->setCountEverything(true);
        QVERIFY(finished(*model));
        QCOMPARE(model->analysis()->report()->totalSize, 100);
        QVERIFY(model->analysis()->leftOutNote().isEmpty());
    }

    // A trashed item leaves the analysis's lists and totals, and the size of the folder holding it.
    void analysisShowsAndForgetsWhatWasTrashed()
    {
        AppModelFixture fixture;
        const QString root = fixture.home + "/Projects";
        const QString big = file(root + "/app/big.bin", 5000);
        file(root + "/app/small.bin", 1000);
        file(root + "/notes.txt", 100);
        const auto model = fixture.makeModel();
        const AnalysisEntryModel& entries = *model->analysis()->entries();
        QAbstractItemModelTester tester(model->analysis()->entries());
        model->analysis()->analyze("  " + root + "\n");
        QCOMPARE(model->analysis()->path(), root);
        QCOMPARE(model->runs()->runningFeature(), std::optional(AppFeature::analyze));
        QVERIFY(finished(*model));
        QCOMPARE(entries.data(entries.index(0), AnalysisEntryModel::ShareRole).toDouble(), 6000.0 / 6100.0);
        QCOMPARE(model->statistics()->text(StatisticKey::lastAnalysisPath), root);
        QCOMPARE(model->statistics()->count(StatisticKey::lastAnalysisTotalSize), 6100);
        QCOMPARE(model->statistics()->count(StatisticKey::lastAnalysisTotalFiles), 3);
        QVERIFY(model->statistics()->date(StatisticKey::lastAnalysisDate) > 0);

        model->analysis()->moveToTrash(big);
        QVERIFY(finished(*model) && !exists(big));
        const AnalysisReport& report = *model->analysis()->report();
        QCOMPARE(report.totalSize, 1100);
        QCOMPARE(report.totalFiles, 2);
        // The last-run line's figures follow the report they tell of.
        QCOMPARE(model->statistics()->count(StatisticKey::lastAnalysisTotalSize), 1100);
        QCOMPARE(model->statistics()->count(StatisticKey::lastAnalysisTotalFiles), 2);
        QCOMPARE(report.entries.front().size, 1000);
        QCOMPARE(column(entries, "size"), (QStringList{"1000", "100"}));
        QVERIFY(std::none_of(report.largeFiles.begin(), report.largeFiles.end(),
                             [&](const AnalysisReport::Entry& entry) { return entry.path == big; }));
    }

    // Rows whose names read alike are told apart and acted on by their bytes: moving one to the Trash
    // leaves the other, and a folder that is not UTF-8 is entered and left.
    void analysisRowsActOnTheirOwnBytes()
    {
        AppModelFixture fixture;
        const auto emptied = qScopeGuard([&] {
            emptyFolder(fixture.home);
            emptyFolder(Trash::freedesktopTrashFolder());
        });
        const QByteArray home = QFile::encodeName(fixture.home);
        rawFile(fixture.home, "bad\xFF");
        write(fixture.home + "/bad\uFFFD", "fffd");
        rawFile(fixture.home, "dir\xFE/inner.bin");
        const auto model = fixture.makeModel();
        // A role of the listed item of that name; empty when none is listed.
        const auto row = [&](const QString& name, const QByteArray& role) {
            const qsizetype at = column(*model->analysis()->entries(), "name").indexOf(name);
            return at < 0 ? QString() : column(*model->analysis()->entries(), role)[at];
        };
        model->analysis()->analyze(fixture.home);
        QVERIFY(finished(*model));
        QCOMPARE(row("bad\\xFF", "nameNotUtf8") + row("bad\uFFFD", "nameNotUtf8"), "truefalse");
        model->analysis()->moveToTrash(row("bad\\xFF", "key"));
        QVERIFY(finished(*model) && alertOf(*model).isEmpty());
        QVERIFY(::access(home + "/bad\xFF", F_OK) != 0 && contents(fixture.home + "/bad\uFFFD") == "fffd");
        QVERIFY(row("bad\\xFF", "key").isEmpty() && !row("bad\uFFFD", "key").isEmpty());

        model->analysis()->analyzeItem(row("dir\\xFE", "key"));
        QVERIFY(finished(*model));
        QCOMPARE(model->analysis()->path(), fixture.home + "/dir\\xFE");
        QVERIFY(!row("inner.bin", "key").isEmpty());
        model->analysis()->analyzeParent();
        QVERIFY(finished(*model));
        QCOMPARE(model->analysis()->path(), fixture.home);
    }

    // Only what a scan listed, unchanged since, goes; anything else is refused and changes nothing.
    void refusedMovesChangeNothing_data()
    {
        columns<QString, QString>("path", "alert"); // alert: part of it
        row("outside the allowed roots", "/etc/hostname", "outside the allowed scope");
        row("vanished", "{home}/code/gone", "no longer exists");
        row("never listed by a scan", "{home}/code/kept.bin", "changed since the preview");
    }
    void refusedMovesChangeNothing()
    {
        auto [path, alert] = fetch<QString, QString>("path", "alert");
        AppModelFixture fixture;
        path.replace("{home}", fixture.home);
        file(fixture.home + "/code/kept.bin", 10);
        const auto model = fixture.makeModel();
        model->purge()->moveToTrash({path});
        QVERIFY(finished(*model));
        QVERIFY2(alertOf(*model).contains(alert), qPrintable(alertOf(*model)));
        QCOMPARE(model->statistics()->count(StatisticKey::lastPurgeCleanedCount), 0);
        QVERIFY(!model->purge()->hasReport());
        model->runs()->dismissAlert();
        model->analysis()->moveToTrash(path);
        QVERIFY(finished(*model));
        QVERIFY(alertOf(*model).contains(alert));
        QVERIFY(exists(fixture.home + "/code/kept.bin"));
    }
};

KELVO_REGISTER_TEST(TestAppModelClean)
#include "tst_AppModelClean.moc"
