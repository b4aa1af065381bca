#include "TestMain.h"

#include "../KelvoCore/optimize/StandInTool.h"
#include "AppModelFixture.h"
#include "SyntheticHome.h"
#include "app/AppIconProvider.h"

#include "platform/Trash.h"

#include <QImageReader>
#include <QImageWriter>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/stat.h>

#include <functional>

using Act = std::function<void(AppModel&)>;
Q_DECLARE_METATYPE(Act)

using namespace SyntheticHome;
using TestSupport::row;

class TestAppModelSelection : public QObject {
    Q_OBJECT

private slots:
    // Nothing chosen: an alert asks for a choice where the page offers one, and nothing runs.
    void emptySelections_data()
    {
        TestSupport::columns<Act, QString>("act", "alert"); // alert empty: none
        row("installers", Act([](AppModel& m) { m.installer()->moveToTrash({}); }),
            QString("Choose the installer files you want to clean up first."));
        row("apps", Act([](AppModel& m) { m.uninstall()->uninstall({}, {}); }),
            QString("Choose the apps you want to process first."));
        row("build artefacts", Act([](AppModel& m) { m.purge()->moveToTrash({}); }),
            QString("Choose the build artefacts you want to move to the Trash first."));
        row("analysed item", Act([](AppModel& m) { m.analysis()->moveToTrash({}); }), QString());
        row("folder to analyse", Act([](AppModel& m) { m.analysis()->analyze(" \n"); }), QString());
    }
    void emptySelections()
    {
        const auto [act, alert] = TestSupport::fetch<Act, QString>("act", "alert");
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        const QString path = model->analysis()->path();
        act(*model);
        QVERIFY(!model->runs()->isRunning());
        QCOMPARE(alertOf(*model), alert);
        QCOMPARE(model->analysis()->path(), path);
    }

    // Moved files leave the report and are counted (not added); when nothing moved, nothing is counted.
    void installersMoveAndTheReportShrinks()
    {
        AppModelFixture fixture;
        const QString dmg = file(fixture.home + "/Downloads/Tool.dmg", 9000);
        const QString pkg = file(fixture.home + "/Desktop/Driver.pkg", 3000);
        DefaultsStore::open()->setValue("lastInstallerCleanedCount", 7);
        const auto model = fixture.makeModel();
        QVERIFY(run(*model, AppActionFactory::installer(true)));
        QCOMPARE(model->installer()->report()->entries.size(), std::size_t(2));
        {
            const WorkersHeld held; // the moves run on a worker, so the model reads as running
            model->installer()->moveToTrash({dmg, "/etc/hostname"});
            QVERIFY(model->runs()->isRunning());
        }
        QVERIFY(finished(*model));
        QVERIFY(!exists(dmg) && exists(pkg));
        QCOMPARE(model->runs()->statusDetail(), QString("Moved 1 installer files. 1 failed."));
        QCOMPARE(model->statistics()->count("lastInstallerCleanedCount"), 1);
        QCOMPARE(model->installer()->report()->entries.size(), std::size_t(1));
        QCOMPARE(model->installer()->report()->entries.front().path, pkg);

        model->installer()->moveToTrash({"/etc/hostname", fixture.home + "/../elsewhere.dmg"});
        QVERIFY(finished(*model));
        QCOMPARE(model->runs()->statusTitle(), QString("Not Completed"));
        QCOMPARE(model->installer()->report()->entries.size(), std::size_t(1));
        QCOMPARE(model->statistics()->count("lastInstallerCleanedCount"), 1);
    }

    // A project scan chooses the artefacts with a project file around them; the chosen ones go together,
    // stay listed as moved, and leave the totals and the group order to what remains.
    void purgeMovesTheChosenArtefacts_data()
    {
        // chosen: relative to the scanned folder; groupTitles: after the move
        TestSupport::columns<QStringList, QStringList, QStringList>("chosen", "moved", "groupTitles");
        row("the default choice", QStringList{"svc/target", "web/node_modules"},
            QStringList{"svc/target", "web/node_modules"},
            QStringList{"Other", "JavaScript / Node", "Java / Maven"});
        row("the largest only", QStringList{"svc/target"}, QStringList{"svc/target"},
            QStringList{"JavaScript / Node", "Other", "Java / Maven"});
        row("one the scan did not list", QStringList{"web/node_modules", "web/src"},
            QStringList{"web/node_modules"}, QStringList{"Java / Maven", "Other", "JavaScript / Node"});
    }
    void purgeMovesTheChosenArtefacts()
    {
        const auto [chosen, moved, groupTitles] =
            TestSupport::fetch<QStringList, QStringList, QStringList>("chosen", "moved", "groupTitles");
        AppModelFixture fixture;
        const QString code = fixture.home + "/code/";
        for (const auto& [path, size] : {std::pair{"svc/pom.xml", 1},
                                         {"svc/target/app.jar", 90000},
                                         {"web/package.json", 1},
                                         {"web/node_modules/lib.js", 40000},
                                         {"web/src/index.js", 1},
                                         {"loose/build/out.o", 20000}})
            file(code + path, size);
        const auto model = fixture.makeModel();
        model->purge()->setScanPath(code);
        QVERIFY(run(*model, AppActionFactory::purge(true)));
        QCOMPARE(model->purge()->reportValue().toMap()["chosenByDefault"].toStringList(),
                 (QStringList{code + "svc/target", code + "web/node_modules"}));
        model->purge()->moveToTrash(QStringList(chosen).replaceInStrings(QRegularExpression("^"), code));
        QVERIFY(finished(*model));
        qint64 remainingBytes = 0;
        for (const PurgePreviewReport::Entry& entry : model->purge()->report()->entries) {
            QCOMPARE(exists(entry.path), !moved.contains(entry.path.mid(code.size())));
            remainingBytes += exists(entry.path) ? entry.byteCount : 0;
        }
        const QVariantMap report = model->purge()->reportValue().toMap();
        QCOMPARE(report["totalBytes"].toLongLong(), remainingBytes);
        QCOMPARE(report["entryCount"].toInt(), 3 - moved.size());
        QStringList titles;
        for (const QVariant& group : report["groups"].toList())
            titles << group.toMap()["title"].toString();
        QCOMPARE(titles, groupTitles);
        QCOMPARE(model->statistics()->count("lastPurgeCleanedCount"), moved.size());
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
        // A use date at the epoch is what a bundle nobody opened keeps.
        const timespec used[2] = {{1'709'294'400, 0}, {0, UTIME_OMIT}}, never[2] = {{0, 0}, {0, UTIME_OMIT}};
        QVERIFY(utimensat(AT_FDCWD, QFile::encodeName(foo).constData(), used, 0) == 0);
        QVERIFY(utimensat(AT_FDCWD, QFile::encodeName(kept).constData(), never, 0) == 0);
        const auto model = fixture.makeModel();
        QVERIFY(run(*model, AppActionFactory::uninstall(true)));
        QMap<QString, QString> lastOpened;
        for (const QVariant& entry : model->uninstall()->reportValue().toMap()["entries"].toList())
            lastOpened[entry.toMap()["path"].toString()] = entry.toMap()["lastOpenedText"].toString();
        QCOMPARE(lastOpened.size(), 3);
        QCOMPARE(lastOpened[foo], QDateTime::fromSecsSinceEpoch(1'709'294'400).toString("yyyy-MM-dd"));
        QCOMPARE(lastOpened[kept], QString("Never"));
        {
            const WorkersHeld held;
            // A leftover of an app that is not chosen stays even when it is named.
            const QString keptCache = fixture.home + "/Library/Caches/com.example.kept";
            model->uninstall()->uninstall({foo, bar}, {fooCache.section('/', 0, -2), shared, keptCache});
            QCOMPARE(model->runs()->runningFeature(), std::optional(AppFeature::uninstall));
            model->uninstall()->uninstall({kept}, {}); // refused: one batch at a time
        }
        QVERIFY(finished(*model));
        QVERIFY(!exists(foo) && !exists(bar) && !exists(fooCache) && !exists(shared));
        QVERIFY(exists(kept) && exists(possible));
        QCOMPARE(model->runs()->statusDetail(),
                 QString("Processed 4 app items.")); // two bundles, two leftovers
        QCOMPARE(model->statistics()->count("lastUninstallCount"), 4);
        QCOMPARE(model->uninstall()->report()->entries.size(), std::size_t(1));

        model->uninstall()->uninstall({foo}, {}); // no longer listed: nothing to move
        QVERIFY(finished(*model));
        QCOMPARE(model->runs()->statusTitle(), QString("Not Completed"));
        QCOMPARE(model->statistics()->count("lastUninstallCount"), 4);
    }

    // On Linux the chosen AppImage goes to the Trash with its chosen entries; a Flatpak app is removed by
    // flatpak, and only once that succeeded do its chosen leftovers follow.
    void uninstallingLinuxApps_data()
    {
        TestSupport::columns<int, QString>("flatpakStatus", "alert");
        row("flatpak removes the app", 0, QString());
        row("flatpak fails", 1, QString("org.gimp.GIMP was not uninstalled: flatpak exited with status 1."));
    }
    void uninstallingLinuxApps()
    {
        const auto [flatpakStatus, alert] = TestSupport::fetch<int, QString>("flatpakStatus", "alert");
        AppModelFixture fixture;
        fixture.uninstallSystem = TargetSystem::linuxDesktop;
        const QString calls = fixture.root.filePath("flatpak-calls");
        standInTool(
            fixture.systemRoot, "/usr/bin/flatpak",
            QString("if [ \"$1\" = list ]; then printf 'org.gimp.GIMP\\tGIMP\\t2.10\\t1 GB\\n'; exit 0; fi\n"
                    "echo \"$@\" >> '%1'; exit %2")
                .arg(calls)
                .arg(flatpakStatus)
                .toUtf8());
        const QString appImage = executable(fixture.home + "/Applications/Tool-1.0.AppImage", 9000);
        const QString entry = write(fixture.home + "/.local/share/applications/tool.desktop",
                                    ("[Desktop Entry]\nName=Tool\nExec=" + appImage + "\n").toUtf8());
        const QString toolConfig = file(fixture.home + "/.config/Tool/settings");
        const QString gimpData = file(fixture.home + "/.var/app/org.gimp.GIMP/config/gimprc");
        const auto model = fixture.makeModel();
        QVERIFY(run(*model, AppActionFactory::uninstall(true)));
        QStringList ids;
        for (const QVariant& listed : model->uninstall()->reportValue().toMap()["entries"].toList())
            ids << listed.toMap()["id"].toString();
        QCOMPARE(ids.size(), 2);
        model->uninstall()->uninstall(ids, {entry, gimpData.section('/', 0, -3)});
        QVERIFY(finished(*model));
        QCOMPARE(QString::fromUtf8(contents(calls)),
                 QString("uninstall --user --noninteractive org.gimp.GIMP\n"));
        QCOMPARE(alertOf(*model).section(u8"\u2022 ", -1), alert); // the one reason, after the count
        QVERIFY(!exists(appImage) && !exists(entry) && exists(toolConfig));
        QCOMPARE(exists(gimpData), flatpakStatus != 0);
        QVERIFY(exists(Trash::freedesktopTrashFolder() + "/files/Tool-1.0.AppImage"));
        QCOMPARE(model->uninstall()->report()->entries.size(), std::size_t(flatpakStatus != 0 ? 1 : 0));
    }

    // A folder swapped for a link after the scan: the twin outside the home stays; the alert says why.
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
        QVERIFY(exists(twin) && alertOf(*model).contains("is a link"));
    }

    // A bundle's own icon at the size asked for (none: its own); without a readable one, the neutral one.
    void bundleIcons()
    {
        QTemporaryDir dir;
        const QString bundle = makeApp(dir.path(), "Tool", {}, {{"CFBundleIconFile", "AppIcon"}});
        const QString icon = file(bundle + "/Contents/Resources/AppIcon.icns");
        const auto image = [&](QSize asked) {
            QSize reported;
            const QImage shown =
                AppIconProvider().requestImage(QUrl::toPercentEncoding(bundle), &reported, asked);
            return reported == shown.size() ? shown.convertToFormat(QImage::Format_ARGB32) : QImage();
        };
        QImageReader neutral(":/icons/app.svg");
        neutral.setScaledSize(QSize(32, 32));
        QCOMPARE(image(QSize(32, 32)),
                 neutral.read().convertToFormat(QImage::Format_ARGB32)); // no image in it
        QImage red(64, 64, QImage::Format_ARGB32);
        red.fill(Qt::red);
        QVERIFY(QImageWriter(icon, "icns").write(red));
        QCOMPARE(image(QSize()), red);
        QCOMPARE(image(QSize(32, 32)), red.scaled(32, 32));
    }
};

KELVO_REGISTER_TEST(TestAppModelSelection)
#include "tst_AppModelSelection.moc"
