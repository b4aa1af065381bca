#include "TestMain.h"

#include "AppModelFixture.h"
#include "SyntheticHome.h"

#include "clean/CleanLocations.h"
#include "clean/CleanWhitelistStore.h"

#include <QSignalSpy>

using namespace SyntheticHome;
using TestSupport::row;

namespace {

// The system's own catalogue decides where the controller looks.
QString cachesPath(const QString& home)
{
    return home + "/" + CleanLocations::forThisSystem().userEssentials.targets.front().relativePath;
}

QString trashPath(const QString& home)
{
    return home + "/" + CleanLocations::forThisSystem().trash.targets.front().relativePath;
}

int entryCount(const AppModel& model)
{
    return model.clean()->reportValue().toMap().value("entryCount").toInt();
}

} // namespace

class TestAppModelClean : public QObject {
    Q_OBJECT

private slots:
    void previewStoresTheReport_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("detailStart");
        row("english", AppLanguagePreference::english, "Preview Complete",
            "Cleanable items have been checked.");
        row("chinese", AppLanguagePreference::chinese, "预览完成", "已检查可清理项目。");
    }
    void previewStoresTheReport()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, title);
        QFETCH(QString, detailStart);
        AppModelFixture fixture(language);
        file(cachesPath(fixture.home) + "/app/data.bin", 4096);
        file(trashPath(fixture.home) + "/files/old.txt", 100);
        const auto model = fixture.makeModel();
        QSignalSpy reportChanged(model->clean(), &CleanController::reportChanged);
        {
            const WorkersHeld held; // a small preview could otherwise end before it is looked at
            model->request(AppActionFactory::clean(true));
            QVERIFY(model->runs()->isRunning());
            QCOMPARE(model->runs()->runningFeatureRawValue(), QString("clean"));
        }
        QVERIFY(finished(*model));
        QCOMPARE(reportChanged.count(), 1);
        QVERIFY(model->clean()->report());
        QCOMPARE(model->clean()->report()->entries.size(), std::size_t(2));
        QCOMPARE(model->runs()->statusTitle(), title);
        QVERIFY(model->runs()->statusDetail().startsWith(detailStart));
        QVERIFY(model->runs()->progress().isEmpty());
        // Nothing was deleted by the preview.
        QVERIFY(exists(cachesPath(fixture.home) + "/app/data.bin"));
    }

    void theRealCleanWaitsForConfirmation()
    {
        AppModelFixture fixture;
        const QString data = file(cachesPath(fixture.home) + "/app/data.bin", 4096);
        const auto model = fixture.makeModel();
        model->request(AppActionFactory::clean(false));
        QVERIFY(model->pendingAction());
        QVERIFY(!model->runs()->isRunning());
        QVERIFY(exists(data));
        model->cancelPendingAction();
        QVERIFY(exists(data));
    }

    void cleaningDeletesThePreviewedItemsAndPreviewsAgain_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("detail");
        row("english", AppLanguagePreference::english, "Cleanup Complete", "Cleaned 2 items.");
        row("chinese", AppLanguagePreference::chinese, "清理完成", "已清理 2 项。");
    }
    void cleaningDeletesThePreviewedItemsAndPreviewsAgain()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, title);
        QFETCH(QString, detail);
        AppModelFixture fixture(language);
        const QString data = file(cachesPath(fixture.home) + "/app/data.bin", 4096);
        const QString old = file(cachesPath(fixture.home) + "/old.log", 100);
        const auto model = fixture.makeModel();
        QVERIFY(run(*model, AppActionFactory::clean(true)));
        QCOMPARE(entryCount(*model), 1);

        const double before = QDateTime::currentSecsSinceEpoch();
        QVERIFY(runConfirmed(*model, AppActionFactory::clean(false)));
        QVERIFY(!exists(data));
        QVERIFY(!exists(old));
        QVERIFY(exists(cachesPath(fixture.home)));
        QCOMPARE(model->runs()->statusTitle(), title);
        QCOMPARE(model->runs()->statusDetail(), detail);
        QCOMPARE(model->statistics()->count("lastCleanCount"), 2);
        QVERIFY(model->statistics()->date("lastCleanDate") >= before);
        QCOMPARE(DefaultsStore::open()->value("lastCleanCount").toLongLong(), 2);
        // The report shown now is the one taken after cleaning.
        QVERIFY(model->clean()->report());
        QCOMPARE(entryCount(*model), 0);
    }

    void withoutAPreviewTheCleanTakesOneFirst()
    {
        AppModelFixture fixture;
        const QString data = file(cachesPath(fixture.home) + "/data.bin", 100);
        const auto model = fixture.makeModel();
        QVERIFY(runConfirmed(*model, AppActionFactory::clean(false)));
        QVERIFY(!exists(data));
        QCOMPARE(model->statistics()->count("lastCleanCount"), 1);
    }

    void theCleanRemovesOnlyWhatWasPreviewed()
    {
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        QVERIFY(run(*model, AppActionFactory::clean(true))); // an empty home: nothing to clean
        const QString arrivedLater = file(trashPath(fixture.home) + "/files/new.txt", 100);
        QVERIFY(runConfirmed(*model, AppActionFactory::clean(false)));
        QVERIFY(exists(arrivedLater));
        QCOMPARE(model->statistics()->count("lastCleanCount"), 0);
        QCOMPARE(entryCount(*model), 1); // the fresh preview sees it
    }

    void failuresAreCountedInTheDetail()
    {
        KELVO_SKIP_AS_ROOT();
        AppModelFixture fixture;
        file(cachesPath(fixture.home) + "/stuck/inner", 10);
        file(cachesPath(fixture.home) + "/free", 10);
        const ReadOnly stuck(cachesPath(fixture.home) + "/stuck");
        const auto model = fixture.makeModel();
        QVERIFY(runConfirmed(*model, AppActionFactory::clean(false)));
        QCOMPARE(model->runs()->statusDetail(), QString("Cleaned 1 items. 1 failed."));
    }

    // A protection list that cannot be read stops the clean before anything goes, with an alert.
    void anUnreadableListStopsTheCleanWithAnAlert()
    {
        AppModelFixture fixture;
        const QString item = file(cachesPath(fixture.home) + "/item", 10);
        write(CleanWhitelistStore::configURL(fixture.home), "\xff\xfe\n");
        const auto model = fixture.makeModel();
        QVERIFY(runConfirmed(*model, AppActionFactory::clean(false)));
        QVERIFY(exists(item));
        QCOMPARE(model->runs()->statusTitle(), QString("Cleanup Stopped"));
        QVERIFY(model->runs()->alertMessage()->contains(CleanWhitelistStore::configURL(fixture.home)));
        QCOMPARE(model->statistics()->count("lastCleanCount"), 0);
    }

    // Without a sound home folder Smart Clean neither previews nor cleans, and no move to the Trash
    // goes: each says why.
    void anUnusableHomeStopsEveryRemovingFeature_data()
    {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("why");
        row("the root folder", "/", "root folder");
        row("not set", "", "HOME is empty");
    }
    void anUnusableHomeStopsEveryRemovingFeature()
    {
        QFETCH(QString, home);
        QFETCH(QString, why);
        AppModelFixture fixture;
        AppModel model(AppModel::Environment{home, fixture.support, {}, {}, LocalInstallerPreview::Places{}});
        for (bool dryRun : {true, false}) {
            QVERIFY(dryRun ? run(model, AppActionFactory::clean(true))
                           : runConfirmed(model, AppActionFactory::clean(false)));
            QVERIFY(model.runs()->alertMessage().value_or(QString()).contains(why));
            QVERIFY(!model.clean()->report());
            model.runs()->dismissAlert();
        }
        model.analysis()->moveToTrash(file(fixture.home + "/x.bin"));
        QVERIFY(finished(model));
        QVERIFY(model.runs()->alertMessage().value_or(QString()).contains(why));
        QVERIFY(exists(fixture.home + "/x.bin"));
    }

    void aCancelledPreviewKeepsThePreviousReport()
    {
        AppModelFixture fixture;
        file(cachesPath(fixture.home) + "/first.bin", 100);
        const auto model = fixture.makeModel();
        QVERIFY(run(*model, AppActionFactory::clean(true)));
        const std::optional<CleanPreviewReport> first = model->clean()->report();
        manyFiles(cachesPath(fixture.home) + "/many", 500);
        model->request(AppActionFactory::clean(true));
        model->runs()->cancel(); // long before the worker has listed the running processes
        QVERIFY(finished(*model));
        QCOMPARE(model->clean()->report(), first);
        QCOMPARE(model->runs()->statusTitle(), QString("Preview Cancelled"));
        QVERIFY(model->runs()->progress().isEmpty());
    }

    // How often progress arrives depends on the machine's speed; what it says does not.
    void progressBelongsToTheRunningPreview()
    {
        AppModelFixture fixture;
        manyFiles(cachesPath(fixture.home) + "/many", 5000, 0, 500);
        const auto model = fixture.makeModel();
        QStringList locationsSeen;
        connect(model->runs(), &RunCoordinator::progressChanged, this, [&] {
            QVERIFY(model->runs()->isRunning() || model->runs()->progress().isEmpty());
            if (!model->runs()->progress().isEmpty())
                locationsSeen << model->runs()->progress().value("location").toString();
        });
        QVERIFY(!model->runs()->canCancel());
        model->request(AppActionFactory::clean(true));
        QVERIFY(model->runs()->canCancel());
        QVERIFY(finished(*model));
        QVERIFY(!model->runs()->canCancel());
        for (const QString& location : locationsSeen)
            QVERIFY2(location.startsWith(fixture.home), qPrintable(location));
        QVERIFY(model->runs()->progress().isEmpty());
    }

    void presentedReportGroupsBySection()
    {
        AppModelFixture fixture;
        file(cachesPath(fixture.home) + "/a", 100);
        file(trashPath(fixture.home) + "/files/b", 100);
        const auto model = fixture.makeModel();
        QVERIFY(run(*model, AppActionFactory::clean(true)));
        const QVariantMap report = model->clean()->reportValue().toMap();
        const QVariantList sections = report.value("sections").toList();
        QCOMPARE(sections.size(), 2);
        QCOMPARE(sections[0].toMap().value("title").toString(), QString("User essentials"));
        QCOMPARE(sections[1].toMap().value("title").toString(), QString("Trash"));
        const QVariantMap entry = sections[1].toMap().value("entries").toList().value(0).toMap();
        QCOMPARE(entry.value("path").toString(), trashPath(fixture.home));
        QCOMPARE(entry.value("status").toString(), QString("cleanable"));
        QVERIFY(entry.value("note").toString().startsWith("User Trash · "));
        QCOMPARE(report.value("cleanableCount").toInt(), 2);
        QVERIFY(report.value("summary").toString().startsWith("Potential space: "));
    }
};

KELVO_REGISTER_TEST(TestAppModelClean)
#include "tst_AppModelClean.moc"
