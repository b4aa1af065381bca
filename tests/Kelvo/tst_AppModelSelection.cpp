#include "TestMain.h"

#include "../KelvoCore/optimize/StandInTool.h"
#include "AppModelFixture.h"
#include "SyntheticHome.h"
#include "app/AppIconProvider.h"
#include "features/ScanLocationModel.h"

#include "clean/CleanChoice.h"
#include "clean/CleanWhitelistStore.h"
#include "platform/Trash.h"
#include "vocabulary/SizeText.h"

#include <QAbstractItemModelTester>
#include <QImageReader>
#include <QImageWriter>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/stat.h>

#include <functional>

using Act = std::function<void(AppModel&)>;
Q_DECLARE_METATYPE(Act)

// What a test reads of a page that lets the user choose rows: its list (and sections), each listed key's
// size and what the choice frees as the report says (when that is not the chosen bytes).
struct ChoiceParts {
    ChoiceListModel* list;
    QAbstractItemModel* sections;
    QHash<QString, qint64> bytes;
    std::optional<qint64> willFree = std::nullopt;
};
using PartsOf = std::function<ChoiceParts(AppModel&)>;
using MoveKey = std::function<void(AppModel&, const QString& key)>;
Q_DECLARE_METATYPE(PartsOf)
Q_DECLARE_METATYPE(MoveKey)
using PurgeEntry = PurgePreviewReport::Entry;
using InstallerEntry = InstallerPreviewReport::Entry;

// Each entry's path (an app's is its id) with its size.
template <typename Entries, typename Bytes> QHash<QString, qint64> sizes(const Entries& entries, Bytes bytes)
{
    QHash<QString, qint64> sized;
    for (const auto& entry : entries)
        sized.insert(entry.path, std::invoke(bytes, entry));
    return sized;
}

// What every choosing page finds in one home: Smart Clean's places (a cache partly protected, one
// protected whole, the Trash), build output with and without a project file, two installers, and two
// apps, one of them with a strong and a possible leftover.
void makeChoiceHome(const QString& home)
{
    const CleanCatalogue& places = AppModelFixture::catalogue();
    const QString cache = places.developerTools.targets[0].relativePath,
                  pip = places.developerTools.targets[4].relativePath;
    for (const QString& path :
         {cache + "/app/data", cache + "/app/keep/data", pip + "/data",
          places.trash.targets[0].relativePath + "/files/data", QString("code/web/node_modules/lib.js"),
          QString("code/loose/build/out.o"), QString("Downloads/a.dmg"), QString("Desktop/b.pkg"),
          QString("Library/Caches/com.example.foo/cache.db"),
          QString("Library/Logs/backup-com.example.foo.log")})
        SyntheticHome::file(home + "/" + path, 9000);
    SyntheticHome::file(home + "/code/web/package.json");
    CleanWhitelistStore::save({{"~/" + cache + "/app/keep", "~/" + pip}}, home);
    for (const QString app : {"Foo", "Bar"})
        SyntheticHome::makeApp(home + "/Applications", app, "com.example." + app.toLower());
}

using namespace SyntheticHome;
using namespace TestSupport;

class TestAppModelSelection : public QObject {
    Q_OBJECT

private slots:
    // Nothing chosen: an alert asks for a choice where the page offers one, and nothing runs.
    void emptySelections_data()
    {
        columns<Act, QString>("act", "alert"); // alert empty: none
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
        const auto [act, alert] = fetch<Act, QString>("act", "alert");
        AppModelFixture fixture;
        const auto model = fixture.makeModel();
        const QString path = model->analysis()->path();
        act(*model);
        QVERIFY(!model->runs()->isRunning());
        QCOMPARE(alertOf(*model), alert);
        QCOMPARE(model->analysis()->path(), path);
    }

    // Each page's choice list under Qt's model tester: a scan chooses what the page starts with ("*":
    // all it offers), the totals follow every choice (summed here from the report), a row that cannot
    // be chosen never is, and a row moved to the Trash leaves the list, the choice and the totals and
    // is counted once.
    void choiceListsKeepTheirTotals_data()
    {
        // The keys (paths; an app's id is its bundle's) relative to the home.
        columns<AppAction, PartsOf, MoveKey, StatisticKey, QStringList, QString, QString>(
            "scan", "parts", "move", "counted", "chosenByDefault", "unchoosable", "moved");
        row("clean", AppActionFactory::clean(true), PartsOf([](AppModel& m) {
                const CleanPreviewReport& report = *m.clean()->report();
                return ChoiceParts{
                    m.clean()->entries(), m.clean()->sections(),
                    sizes(report.entries, [](auto& e) { return *e.bytes; }),
                    CleanChoice::narrowed(report, m.clean()->entries()->chosen()).willFreeBytes()};
            }),
            MoveKey(), StatisticKey(), QStringList{"*"},
            AppModelFixture::catalogue().developerTools.targets[4].relativePath, QString());
        row("purge", AppActionFactory::purge(true), PartsOf([](AppModel& m) {
                return ChoiceParts{m.purge()->entries(), m.purge()->groups(),
                                   sizes(m.purge()->report()->entries, &PurgeEntry::byteCount)};
            }),
            MoveKey([](AppModel& m, const QString& path) { m.purge()->moveToTrash({path}); }),
            StatisticKey::lastPurgeCleanedCount, QStringList{"code/web/node_modules"}, QString(),
            QString("code/web/node_modules"));
        row("installers", AppActionFactory::installer(true), PartsOf([](AppModel& m) {
                return ChoiceParts{m.installer()->entries(), nullptr,
                                   sizes(m.installer()->report()->entries, &InstallerEntry::byteCount)};
            }),
            MoveKey([](AppModel& m, const QString& path) { m.installer()->moveToTrash({path}); }),
            StatisticKey::lastInstallerCleanedCount, QStringList(), QString(), QString("Downloads/a.dmg"));
        // An app's size is its bundle's; Foo's leftovers are the second app's (after Bar).
        row("apps", AppActionFactory::uninstall(true), PartsOf([](AppModel& m) {
                return ChoiceParts{
                    m.uninstall()->apps(), nullptr,
                    sizes(m.uninstall()->report()->entries, [](auto& e) { return *e.appSizeBytes; })};
            }),
            MoveKey([](AppModel& m, const QString& id) { m.uninstall()->uninstall({id}, {}); }),
            StatisticKey::lastUninstallCount, QStringList(), QString(), QString("Applications/Foo.app"));
        row("leftovers", AppActionFactory::uninstall(true), PartsOf([](AppModel& m) {
                return ChoiceParts{m.uninstall()->apps()->leftoversAt(1), nullptr,
                                   sizes(m.uninstall()->report()->entries[1].leftovers,
                                         &UninstallPreviewReport::Leftover::allocatedBytes)};
            }),
            MoveKey(), StatisticKey(), QStringList{"Library/Caches/com.example.foo"}, QString(), QString());
    }
    void choiceListsKeepTheirTotals()
    {
        const auto [scan, parts, move, counted, chosenByDefault, unchoosable, moved] =
            fetch<AppAction, PartsOf, MoveKey, StatisticKey, QStringList, QString, QString>(
                "scan", "parts", "move", "counted", "chosenByDefault", "unchoosable", "moved");
        AppModelFixture fixture;
        makeChoiceHome(fixture.home);
        const auto model = fixture.makeModel();
        QVERIFY(run(*model, scan));
        ChoiceListModel& list = *parts(*model).list;
        const QAbstractItemModelTester listChecked(&list),
            sectionsChecked(parts(*model).sections ? parts(*model).sections : &list);
        const auto inHome = [&](QStringList paths) {
            paths.replaceInStrings(QRegularExpression("^"), fixture.home + "/").sort();
            return paths;
        };
        const auto verifyTotals = [&, parts = parts] {
            const ChoiceParts now = parts(*model);
            QStringList chosen;
            qint64 chosenBytes = 0, total = 0;
            QCOMPARE(list.count(), now.bytes.size());
            for (int row = 0; row < list.count(); ++row) {
                const QString key = list.index(row).data(ChoiceListModel::KeyRole).toString();
                total += now.bytes.value(key, -1);
                if (!list.index(row).data(ChoiceListModel::ChosenRole).toBool())
                    continue;
                QVERIFY(list.index(row).data(ChoiceListModel::ChoosableRole).toBool());
                chosen << key;
                chosenBytes += now.bytes.value(key);
            }
            QCOMPARE(list.chosenKeys(), chosen);
            QCOMPARE(list.chosenCount(), chosen.size());
            QCOMPARE(list.chosenBytes(), chosenBytes);
            QCOMPARE(list.chosenWillFree(), now.willFree.value_or(chosenBytes));
            QCOMPARE(list.totalBytes(), total);
        };
        QStringList chosen = list.chosenKeys();
        chosen.sort();
        if (chosenByDefault != QStringList{"*"})
            QCOMPARE(chosen, inHome(chosenByDefault));
        QCOMPARE(list.allChosen(), chosenByDefault == QStringList{"*"});
        verifyTotals();
        list.chooseAll(true);
        QCOMPARE(list.choosableCount(), list.count() - !unchoosable.isEmpty());
        list.setChosen(inHome({unchoosable}), true);
        verifyTotals();
        list.setChosen({list.chosenKeys().constFirst()}, false);
        QVERIFY(!list.allChosen() && list.someChosen());
        verifyTotals();
        if (!move)
            return;
        const QString gone = inHome({moved}).constFirst();
        // Nothing in the home changes but the item moved and the Trash it went to.
        const QString trash = QDir(fixture.home).relativeFilePath(Trash::freedesktopTrashFolder());
        const auto untouched = [&, moved = moved] {
            QMap<QString, QByteArray> picture = tree(fixture.home);
            picture.removeIf([&](auto item) {
                return item.key().startsWith(trash) || item.key().startsWith(moved) ||
                       moved.startsWith(item.key() + '/');
            });
            return picture;
        };
        const QMap<QString, QByteArray> before = untouched();
        const qint64 goneBytes = parts(*model).bytes.value(gone);
        move(*model, gone);
        QVERIFY(finished(*model) && !exists(gone));
        QCOMPARE(untouched(), before);
        // A move of files says how much went to the Trash, where the space still is.
        if (counted != StatisticKey::lastUninstallCount)
            QVERIFY2(model->runs()->statusDetail().contains(SizeText::bytes(goneBytes)),
                     qPrintable(model->runs()->statusDetail()));
        QVERIFY(!parts(*model).bytes.contains(gone) && !list.chosen().contains(gone));
        verifyTotals();
        QCOMPARE(model->statistics()->count(counted), 1);
    }

    // The ecosystems' groups come the largest first, and stay so as artefacts leave them: the two
    // artefacts of Other together outweigh Node's one, each of them alone does not.
    void purgeGroupsFollowWhatStays()
    {
        AppModelFixture fixture;
        const QString code = fixture.home + "/code/";
        for (const auto& [path, size] : {std::pair{"web/package.json", 1},
                                         {"web/node_modules/lib.js", 30000},
                                         {"loose/build/out.o", 20000},
                                         {"spare/build/out.o", 20000}})
            file(code + path, size);
        const auto model = fixture.makeModel();
        const auto titles = [groups = model->purge()->groups()] {
            QStringList shown;
            for (int row = 0; row < groups->rowCount(); ++row)
                shown << groups->index(row).data(ChoiceSectionModel::TitleRole).toString();
            return shown;
        };
        QVERIFY(run(*model, AppActionFactory::purge(true)));
        QCOMPARE(titles(), (QStringList{"Other", "JavaScript / Node"}));
        model->purge()->moveToTrash({code + "loose/build"});
        QVERIFY(finished(*model));
        QCOMPARE(titles(), (QStringList{"JavaScript / Node", "Other"}));
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
        // The apps by name: Bar, Foo, Kept.
        const auto lastOpened = [apps = model->uninstall()->apps()](int row) {
            return apps->index(row).data(UninstallAppModel::LastOpenedRole).toString();
        };
        QCOMPARE(model->uninstall()->apps()->count(), 3);
        QCOMPARE(lastOpened(1), QDateTime::fromSecsSinceEpoch(1'709'294'400).toString("yyyy-MM-dd"));
        QCOMPARE(lastOpened(2), QString("Never"));
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
        // The apps that went by name, and the two leftovers that moved.
        const QString said = model->runs()->statusDetail();
        QVERIFY2(said.contains("Foo") && said.contains("Bar") && said.contains("2 leftovers"),
                 qPrintable(said));
        QCOMPARE(model->statistics()->count(StatisticKey::lastUninstallCount), 4);
        QCOMPARE(model->uninstall()->report()->entries.size(), std::size_t(1));

        model->uninstall()->uninstall({foo}, {}); // no longer listed: nothing to move
        QVERIFY(finished(*model));
        QCOMPARE(model->runs()->statusTitle(), QString("Not Completed"));
        QCOMPARE(model->statistics()->count(StatisticKey::lastUninstallCount), 4);
    }

    // On Linux the chosen AppImage goes to the Trash with its chosen entries; a Flatpak app is removed by
    // flatpak, and only once that succeeded do its chosen leftovers follow.
    void uninstallingLinuxApps_data()
    {
        columns<int, QString>("flatpakStatus", "alert");
        row("flatpak removes the app", 0, QString());
        row("flatpak fails", 1, QString("org.gimp.GIMP was not uninstalled: flatpak exited with status 1."));
    }
    void uninstallingLinuxApps()
    {
        const auto [flatpakStatus, alert] = fetch<int, QString>("flatpakStatus", "alert");
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
        model->uninstall()->apps()->chooseAll(true);
        const QStringList ids = model->uninstall()->apps()->chosenKeys();
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

    // The places an installer scan searches are looked at again when asked: a folder made since reads
    // as there, with its name in the language of the moment.
    void scanLocationsAreLookedAtAgain()
    {
        AppModelFixture fixture;
        const QString downloads = fixture.home + "/Downloads";
        QVERIFY(QDir(downloads).removeRecursively());
        const auto model = fixture.makeModel();
        ScanLocationModel& locations = *model->installer()->scanLocations();
        const QAbstractItemModelTester tester(&locations);
        const auto shown = [&] {
            for (int row = 0; row < locations.rowCount(); ++row)
                if (locations.index(row).data(ScanLocationModel::PathRole) == downloads)
                    return locations.index(row).data(ScanLocationModel::ExistsRole).toBool();
            return false;
        };
        QVERIFY(QDir().mkpath(downloads));
        QVERIFY(!shown());
        model->installer()->lookAtScanLocations();
        QVERIFY(shown());
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
        // A Linux application's drawing is drawn at the size asked for.
        const QString drawing = write(dir.filePath("tool.svg"), "<svg xmlns='http://www.w3.org/2000/svg' "
                                                                "viewBox='0 0 10 10'><rect width='10' "
                                                                "height='10' fill='#1cb27e'/></svg>");
        QSize reported;
        const QImage drawn =
            AppIconProvider().requestImage(QUrl::toPercentEncoding(drawing), &reported, {20, 20});
        QVERIFY(reported == QSize(20, 20) && drawn.pixelColor(10, 10) == QColor(0x1c, 0xb2, 0x7e));
    }
};

KELVO_REGISTER_TEST(TestAppModelSelection)
#include "tst_AppModelSelection.moc"
