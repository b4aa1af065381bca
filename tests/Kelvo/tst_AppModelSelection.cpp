#include "TestMain.h"

#include "AppModelFixture.h"
#include "SyntheticHome.h"

#include <fcntl.h>
#include <sys/stat.h>

using namespace SyntheticHome;

class TestAppModelSelection : public QObject {
    Q_OBJECT

private slots:
    void emptySelectionsAsk_data()
    {
        QTest::addColumn<bool>("installers");
        QTest::addColumn<QString>("alert");
        QTest::newRow("installers") << true << "Choose the installer files you want to clean up first.";
        QTest::newRow("apps") << false << "Choose the apps you want to process first.";
    }
    void emptySelectionsAsk()
    {
        QFETCH(bool, installers);
        QFETCH(QString, alert);
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        installers ? model->installer()->moveToTrash({}) : model->uninstall()->uninstall({}, {});
        QCOMPARE(model->runs()->alertMessage().value_or(QString()), alert);
    }

    void lastUseReadsAsADayOrNever_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<qint64>("accessed");  // seconds since the epoch
        QTest::addColumn<QString>("expected"); // empty: the local day of accessed
        QTest::newRow("opened") << AppLanguagePreference::english << qint64(1'709'294'400) << "";
        QTest::newRow("never, en") << AppLanguagePreference::english << qint64(0) << "Never";
        QTest::newRow("never, zh") << AppLanguagePreference::chinese << qint64(0) << "从未";
    }
    void lastUseReadsAsADayOrNever()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(qint64, accessed);
        QFETCH(QString, expected);
        AppModelFixture fixture(language);
        const QString bundle = makeApp(fixture.home + "/Applications", "Tool", "com.example.tool");
        const timespec times[2] = {{static_cast<time_t>(accessed), 0}, {0, UTIME_OMIT}};
        QVERIFY(utimensat(AT_FDCWD, QFile::encodeName(bundle).constData(), times, 0) == 0);
        const auto model = fixture.makeModel();
        QVERIFY(run(*model, AppActionFactory::uninstall(true)));
        const QVariantList entries = model->uninstall()->reportValue().toMap()["entries"].toList();
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].toMap()["lastOpenedText"].toString(),
                 expected.isEmpty()
                     ? QDateTime::fromSecsSinceEpoch(accessed).toLocalTime().toString("yyyy-MM-dd")
                     : expected);
    }

    void installersMoveAndTheReportShrinks()
    {
        AppModelFixture fixture;
        const QString dmg = file(fixture.home + "/Downloads/Tool.dmg", 9000);
        const QString pkg = file(fixture.home + "/Desktop/Driver.pkg", 3000);
        DefaultsStore::open()->setValue("lastInstallerCleanedCount", 7);
        const auto model = fixture.makeModel();
        QVERIFY(run(*model, AppActionFactory::installer(true)));
        QCOMPARE(model->installer()->report()->entries.size(), std::size_t(2));
        QVERIFY(model->runs()->statusDetail().startsWith("Found 2 installer files, total "));

        {
            const WorkersHeld held; // the moves run on a worker, so the controller reads as running
            model->installer()->moveToTrash({dmg, "/etc/hostname"});
            QVERIFY(model->runs()->isRunning());
        }
        QVERIFY(finished(*model));
        QVERIFY(!exists(dmg));
        QVERIFY(exists(pkg));
        QCOMPARE(model->runs()->statusDetail(), QString("Moved 1 installer files. 1 failed."));
        QCOMPARE(model->statistics()->count("lastInstallerCleanedCount"),
                 1); // set to this operation's count, not added
        QCOMPARE(model->installer()->report()->entries.size(), std::size_t(1));
        QCOMPARE(model->installer()->report()->entries.front().path, pkg);
    }

    void everyMoveRefusedEndsNotCompleted()
    {
        AppModelFixture fixture;
        file(fixture.home + "/Downloads/Tool.dmg", 9000);
        const auto model = fixture.makeModel();
        QVERIFY(run(*model, AppActionFactory::installer(true)));
        model->installer()->moveToTrash({"/etc/hostname", fixture.home + "/../elsewhere.dmg"});
        QVERIFY(finished(*model));
        QCOMPARE(model->runs()->statusTitle(), QString("Not Completed"));
        QCOMPARE(model->installer()->report()->entries.size(), std::size_t(1));
        QCOMPARE(model->statistics()->count("lastInstallerCleanedCount"), 0);
    }

    void uninstallingMovesBundlesAndLeftoversOnce()
    {
        AppModelFixture fixture;
        const QString apps = fixture.home + "/Applications";
        const QString foo = makeApp(apps, "Foo", "com.example.foo");
        const QString bar = makeApp(apps, "Bar", "com.example.bar");
        const QString kept = makeApp(apps, "Kept", "com.example.kept");
        const QString fooCache = file(fixture.home + "/Library/Caches/com.example.foo/cache.db", 500);
        // Named after both apps' identifiers: listed by each, moved once.
        const QString shared = file(fixture.home + "/Library/Preferences/com.example.foo.bar.plist", 100);
        // Merely holding an app's identifier: offered, and left where the user did not choose it.
        const QString possible = file(fixture.home + "/Library/Logs/backup-com.example.foo.log", 100);
        const auto model = fixture.makeModel();
        QVERIFY(run(*model, AppActionFactory::uninstall(true)));
        QCOMPARE(model->uninstall()->report()->entries.size(), std::size_t(3));
        QVERIFY(model->runs()->statusDetail().startsWith("Found 3 app items"));

        {
            const WorkersHeld held;
            // A leftover of an app that is not chosen stays even when it is named.
            const QString keptCache = fixture.home + "/Library/Caches/com.example.kept";
            model->uninstall()->uninstall({foo, bar}, {fooCache.section('/', 0, -2), shared, keptCache});
            QVERIFY(model->runs()->isRunning());
            QCOMPARE(model->runs()->runningFeature(), std::optional(AppFeature::uninstall));
            model->uninstall()->uninstall({kept}, {}); // refused: one run at a time
        }
        QVERIFY(finished(*model));
        QVERIFY(!exists(foo) && !exists(bar) && !exists(fooCache) && !exists(shared));
        QVERIFY(exists(kept) && exists(possible));
        QCOMPARE(model->runs()->statusTitle(), QString("Uninstall Complete"));
        QCOMPARE(model->runs()->statusDetail(),
                 QString("Processed 4 app items.")); // two bundles, two leftovers
        QCOMPARE(model->statistics()->count("lastUninstallCount"), 4);
        QCOMPARE(model->uninstall()->report()->entries.size(), std::size_t(1));
        QVERIFY(!model->runs()->isRunning());
    }

    // The folder holding a scanned file is exchanged for a link to a twin outside the home between
    // the scan and the move: the twin stays, and the alert says why.
    void aFolderSwappedBetweenTheScanAndTheMoveLeavesTheTwin()
    {
        AppModelFixture fixture;
        const QString dmg = file(fixture.home + "/Downloads/old/Tool.dmg", 9000);
        const QString twin = file(fixture.root.filePath("outside/old/Tool.dmg"), 9000);
        const auto model = fixture.makeModel();
        QVERIFY(run(*model, AppActionFactory::installer(true)));
        QVERIFY(QDir().rename(fixture.home + "/Downloads/old", fixture.home + "/Downloads/old.real"));
        link(fixture.root.filePath("outside/old"), fixture.home + "/Downloads/old");
        model->installer()->moveToTrash({dmg});
        QVERIFY(finished(*model));
        QVERIFY(exists(twin));
        QCOMPARE(model->runs()->statusTitle(), QString("Not Completed"));
        QVERIFY(model->runs()->alertMessage().value_or(QString()).contains("is a link"));
    }
};

KELVO_REGISTER_TEST(TestAppModelSelection)
#include "tst_AppModelSelection.moc"
