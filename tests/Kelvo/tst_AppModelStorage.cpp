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
        model->analyzePath("  " + root + "\n");
        QCOMPARE(model->analysisPath(), root);
        QCOMPARE(model->runningFeatureRawValue(), QString("analyze"));
        QVERIFY(finished(*model));
        QCOMPARE(model->statusTitle(), QString("Storage Analysis Complete"));
        const QVariantMap report = model->analysisReportValue().toMap();
        QCOMPARE(report.value("totalSize").toLongLong(), 5100);
        const QVariantMap first = report.value("entries").toList().first().toMap();
        QCOMPARE(first.value("name").toString(), QString("app"));
        QCOMPARE(first.value("share").toDouble(), 5000.0 / 5100.0);
        QCOMPARE(model->lastAnalysisPathStored(), root);
        QCOMPARE(model->lastAnalysisTotalSize(), 5100);
        QCOMPARE(model->lastAnalysisTotalFiles(), 2);
        QVERIFY(model->lastAnalysisDate() > 0);

        model->analyzeParentPath();
        QCOMPARE(model->analysisPath(), fixture.home);
        QVERIFY(finished(*model));
        model->analyzePath("   "); // nothing to analyse
        QCOMPARE(model->analysisPath(), fixture.home);
    }

    void choosingFolders()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        file(fixture.home + "/code/app/node_modules/x", 10);
        model->setScanPath(fixture.home + "/code");
        QVERIFY(run(*model, AppActionFactory::purge(true)));
        QVERIFY(model->purgePreviewReport());
        model->chooseScanPath(QUrl::fromLocalFile(fixture.home + "/elsewhere"));
        QCOMPARE(model->scanPath(), fixture.home + "/elsewhere");
        QVERIFY(!model->purgePreviewReport());
        model->chooseAnalysisPath(QUrl::fromLocalFile(fixture.home + "/Music"));
        QCOMPARE(model->analysisPath(), fixture.home + "/Music");
        QVERIFY(!model->isRunning());      // choosing does not analyse
        model->chooseAnalysisPath(QUrl()); // cancelled chooser
        QCOMPARE(model->analysisPath(), fixture.home + "/Music");
    }

    void projectScanGroupsAndTrashesOneItem()
    {
        AppModelFixture fixture;
        file(fixture.home + "/code/web/node_modules/lib/index.js", 8000);
        file(fixture.home + "/code/tool/target/debug/tool", 4000);
        DefaultsStore::open()->setValue("lastPurgeCleanedCount", 4);
        const auto model = fixture.makeModel();
        model->setScanPath(fixture.home + "/code");
        QVERIFY(run(*model, AppActionFactory::purge(true)));
        QVERIFY(model->statusDetail().startsWith("Found 2 cleanup items, total "));
        const QVariantList groups = model->purgePreviewReportValue().toMap().value("groups").toList();
        QCOMPARE(groups.size(), 2);
        QCOMPARE(groups[0].toMap().value("title").toString(), QString("JavaScript / Node"));
        QCOMPARE(groups[1].toMap().value("title").toString(), QString("Rust / Go / Zig"));

        const PurgePreviewReport::Entry modules = model->purgePreviewReport()->entries.front();
        model->moveToTrash(modules.path);
        QVERIFY(!exists(modules.path));
        QCOMPARE(model->lastPurgeCleanedCount(), 5);
        QCOMPARE(model->lastPurgeCleanedBytes(), modules.byteCount);
        QCOMPARE(model->statusTitle(), QString("Moved to Trash"));
        QCOMPARE(model->purgePreviewReport()->entries.size(), std::size_t(2)); // the scan stays as it was
        QCOMPARE(model->purgePreviewReportValue().toMap().value("trashedPaths").toStringList(),
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
        model->moveToTrash(path);
        QVERIFY(model->alertMessage());
        QVERIFY2(model->alertMessage()->startsWith(alertStart), qPrintable(*model->alertMessage()));
        QCOMPARE(model->lastPurgeCleanedCount(), 0);
        QVERIFY(exists(fixture.root.filePath("outside.bin")));
        model->dismissAlert();
        model->moveAnalysisItemToTrash(path);
        QVERIFY(model->alertMessage());
    }

    void trashingAnAnalysedFileUpdatesTheReport()
    {
        AppModelFixture fixture;
        const QString root = fixture.home + "/Projects";
        const QString big = file(root + "/app/big.bin", 5000);
        file(root + "/app/small.bin", 1000);
        file(root + "/notes.txt", 100);
        const auto model = fixture.makeModel();
        model->analyzePath(root);
        QVERIFY(finished(*model));
        model->moveAnalysisItemToTrash(big);
        QVERIFY(!exists(big));
        const AnalysisReport& report = *model->analysisReport();
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
        model->analyzePath(fixture.home);
        QVERIFY(finished(*model));
        const std::optional<AnalysisReport> first = model->analysisReport();
        manyFiles(fixture.home + "/many", 3000, 0, 100);
        model->analyzePath(fixture.home);
        model->cancelRun();
        QVERIFY(finished(*model));
        QCOMPARE(model->analysisReport(), first);
        QCOMPARE(model->statusTitle(), QString("Analysis Cancelled"));
    }
};

KELVO_REGISTER_TEST(TestAppModelStorage)
#include "tst_AppModelStorage.moc"
