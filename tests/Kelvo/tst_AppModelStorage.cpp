#include "TestMain.h"

#include "AppModelFixture.h"
#include "SyntheticHome.h"

#include <QSignalSpy>

using namespace SyntheticHome;

class TestAppModelStorage : public QObject {
    Q_OBJECT

private slots:
    void analysisStoresTheReportAndItsStatistics()
    {
        AppModelFixture fixture;
        const QString root = folder(fixture.home + "/Projects");
        file(root + "/app/big.bin", 5000);
        file(root + "/notes.txt", 100);
        const auto model = fixture.makeModel();
        model->analysis()->analyze("  " + root + "\n");
        QCOMPARE(model->analysis()->path(), root);
        QCOMPARE(model->runs()->runningFeatureRawValue(), QString("analyze"));
        QVERIFY(finished(*model));
        QCOMPARE(model->runs()->statusTitle(), QString("Storage Analysis Complete"));
        const QVariantMap report = model->analysis()->reportValue().toMap();
        QCOMPARE(report.value("totalSize").toLongLong(), 5100);
        const QVariantMap first = report.value("entries").toList().first().toMap();
        QCOMPARE(first.value("name").toString(), QString("app"));
        QCOMPARE(first.value("share").toDouble(), 5000.0 / 5100.0);
        QCOMPARE(model->statistics()->text("lastAnalysisPath"), root);
        QCOMPARE(model->statistics()->count("lastAnalysisTotalSize"), 5100);
        QCOMPARE(model->statistics()->count("lastAnalysisTotalFiles"), 2);
        QVERIFY(model->statistics()->date("lastAnalysisDate") > 0);

        model->analysis()->analyzeParent();
        QCOMPARE(model->analysis()->path(), fixture.home);
        QVERIFY(finished(*model));
        model->analysis()->analyze("   "); // nothing to analyse
        QCOMPARE(model->analysis()->path(), fixture.home);
    }

    void choosingFolders()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        file(fixture.home + "/code/app/node_modules/x", 10);
        model->purge()->setScanPath(fixture.home + "/code");
        QVERIFY(run(*model, AppActionFactory::purge(true)));
        QVERIFY(model->purge()->report());
        model->purge()->choosePath(QUrl::fromLocalFile(fixture.home + "/elsewhere"));
        QCOMPARE(model->purge()->scanPath(), fixture.home + "/elsewhere");
        QVERIFY(!model->purge()->report());
        model->analysis()->choosePath(QUrl::fromLocalFile(fixture.home + "/Music"));
        QCOMPARE(model->analysis()->path(), fixture.home + "/Music");
        QVERIFY(!model->runs()->isRunning());  // choosing does not analyse
        model->analysis()->choosePath(QUrl()); // cancelled chooser
        QCOMPARE(model->analysis()->path(), fixture.home + "/Music");
    }

    void projectScanGroupsAndTrashesOneItem()
    {
        AppModelFixture fixture;
        file(fixture.home + "/code/web/node_modules/lib/index.js", 8000);
        file(fixture.home + "/code/tool/target/debug/tool", 4000);
        DefaultsStore::open()->setValue("lastPurgeCleanedCount", 4);
        const auto model = fixture.makeModel();
        model->purge()->setScanPath(fixture.home + "/code");
        QVERIFY(run(*model, AppActionFactory::purge(true)));
        QVERIFY(model->runs()->statusDetail().startsWith("Found 2 cleanup items, total "));
        const QVariantList groups = model->purge()->reportValue().toMap().value("groups").toList();
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups[0].toMap().value("title").toString(), QString("JavaScript / Node"));
        QCOMPARE(groups[1].toMap().value("title").toString(), QString("Rust / Go / Zig"));

        const PurgePreviewReport::Entry modules = model->purge()->report()->entries.front();
        model->purge()->moveToTrash(modules.path);
        QVERIFY(finished(*model));
        QVERIFY(!exists(modules.path));
        QCOMPARE(model->statistics()->count("lastPurgeCleanedCount"), 5);
        QCOMPARE(model->statistics()->count("lastPurgeCleanedBytes"), modules.byteCount);
        QCOMPARE(model->runs()->statusTitle(), QString("Moved to Trash"));
        QCOMPARE(model->purge()->report()->entries.size(), std::size_t(2)); // the scan stays as it was
        QCOMPARE(model->purge()->reportValue().toMap().value("trashedPaths").toStringList(),
                 QStringList{modules.path});
    }

    void refusedAndFailedMovesChangeNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("alertStart");
        QTest::newRow("outside the allowed roots") << "/etc/hostname"
                                                   << "This path is outside the allowed scope";
        QTest::newRow("reached through ..") << "{home}/../outside.bin"
                                            << "This path is outside the allowed scope";
        QTest::newRow("vanished") << "{home}/gone.bin"
                                  << "“{home}/gone.bin” no longer exists";
    }
    void refusedAndFailedMovesChangeNothing()
    {
        QFETCH(QString, path);
        QFETCH(QString, alertStart);
        AppModelFixture fixture;
        file(fixture.root.filePath("outside.bin"), 10);
        const auto model = fixture.makeModel();
        path.replace("{home}", fixture.home);
        alertStart.replace("{home}", fixture.home);
        model->purge()->moveToTrash(path);
        QVERIFY(finished(*model));
        QVERIFY(model->runs()->alertMessage());
        QVERIFY2(model->runs()->alertMessage()->startsWith(alertStart),
                 qPrintable(*model->runs()->alertMessage()));
        QCOMPARE(model->statistics()->count("lastPurgeCleanedCount"), 0);
        QVERIFY(exists(fixture.root.filePath("outside.bin")));
        model->runs()->dismissAlert();
        model->analysis()->moveToTrash(path);
        QVERIFY(finished(*model));
        QVERIFY(model->runs()->alertMessage());
    }

    void trashingAnAnalysedFileUpdatesTheReport()
    {
        AppModelFixture fixture;
        const QString root = fixture.home + "/Projects";
        const QString big = file(root + "/app/big.bin", 5000);
        file(root + "/app/small.bin", 1000);
        file(root + "/notes.txt", 100);
        const auto model = fixture.makeModel();
        model->analysis()->analyze(root);
        QVERIFY(finished(*model));
        model->analysis()->moveToTrash(big);
        QVERIFY(finished(*model));
        QVERIFY(!exists(big));
        const AnalysisReport& report = *model->analysis()->report();
        QCOMPARE(report.totalSize, 1100);
        QCOMPARE(report.totalFiles, 2);
        QCOMPARE(report.entries.front().size, 1000); // the folder holding it shrank
        QVERIFY(std::none_of(report.largeFiles.begin(), report.largeFiles.end(),
                             [&](const AnalysisReport::Entry& entry) { return entry.path == big; }));
    }

    void aCancelledAnalysisKeepsThePreviousReport()
    {
        AppModelFixture fixture;
        file(fixture.home + "/a.bin", 10);
        const auto model = fixture.makeModel();
        model->analysis()->analyze(fixture.home);
        QVERIFY(finished(*model));
        const std::optional<AnalysisReport> first = model->analysis()->report();
        manyFiles(fixture.home + "/many", 3000, 0, 100);
        model->analysis()->analyze(fixture.home);
        model->runs()->cancel();
        QVERIFY(finished(*model));
        QCOMPARE(model->analysis()->report(), first);
        QCOMPARE(model->runs()->statusTitle(), QString("Analysis Cancelled"));
    }
};

KELVO_REGISTER_TEST(TestAppModelStorage)
#include "tst_AppModelStorage.moc"
