#include "TestMain.h"

#include "Language.h"
#include "SyntheticHome.h"

#include "installer/InstallerPreviewService.h"

#include <QDataStream>

using namespace SyntheticHome;
using namespace std::chrono_literals;

namespace {

// A valid zip of empty stored entries dated 1980-01-01: no data, so no checksums to compute.
QByteArray zipOf(const QStringList& names)
{
    QByteArray local, central, end;
    QDataStream l(&local, QIODevice::WriteOnly), c(&central, QIODevice::WriteOnly),
        e(&end, QIODevice::WriteOnly);
    for (QDataStream* s : {&l, &c, &e})
        s->setByteOrder(QDataStream::LittleEndian);
    for (const QString& name : names) {
        const QByteArray raw = name.toUtf8();
        const quint32 offset = quint32(local.size());
        l << quint32(0x04034b50) << quint16(20);
        c << quint32(0x02014b50) << quint16(20) << quint16(20);
        for (QDataStream* s : {&l, &c})
            *s << quint16(0) << quint16(0) << quint16(0) << quint16(0x21) << quint32(0) << quint32(0)
               << quint32(0) << quint16(raw.size()) << quint16(0);
        c << quint16(0) << quint16(0) << quint16(0) << quint32(0) << offset;
        l.writeRawData(raw.constData(), int(raw.size()));
        c.writeRawData(raw.constData(), int(raw.size()));
    }
    e << quint32(0x06054b50) << quint16(0) << quint16(0) << quint16(names.size()) << quint16(names.size())
      << quint32(central.size()) << quint32(local.size()) << quint16(0);
    return local + central + end;
}

QStringList numbered(const QString& pattern, int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << pattern.arg(i);
    return names;
}

} // namespace

class TestLocalInstallerPreview : public QObject {
    Q_OBJECT

    // Entries as paths below the test folder, in report order.
    QStringList found(const LocalInstallerPreview::Options& options = {}, int maxDepth = 2)
    {
        QStringList paths;
        for (const auto& entry : LocalInstallerPreview::snapshot(m_home, m_places, maxDepth, options).entries)
            paths << entry.path.mid(m_box.path().size() + 1);
        return paths;
    }

private slots:
    void init()
    {
        m_home = m_box.renew();
        m_places = {m_box.path("shared"),
                    m_box.path("someone-else"),
                    {{m_box.path("system/Updates"), "系统更新", "System Updates"}}};
    }

    void finds_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("links"); // "link>target", both below the test folder
        QTest::addColumn<int>("maxDepth");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char* tag, QStringList files, QStringList links, int depth,
                            QStringList expected) {
            QTest::newRow(tag) << files << links << depth << expected;
        };
        row("two levels deep, not three",
            {"home/Downloads/a.dmg", "home/Downloads/s/b.pkg", "home/Downloads/s/t/c.pkg"}, {}, 2,
            {"home/Downloads/a.dmg", "home/Downloads/s/b.pkg"});
        row("every extension in any case, nothing else",
            {"home/Documents/a.DMG", "home/Documents/b.Pkg", "home/Documents/c.mpkg", "home/Documents/d.iso",
             "home/Documents/e.xip", "home/Documents/f.appinstaller", "home/Documents/g.mobileconfig",
             "home/Documents/h.dmg.part", "home/Documents/dmg"},
            {}, 2,
            {"home/Documents/a.DMG", "home/Documents/b.Pkg", "home/Documents/c.mpkg", "home/Documents/d.iso",
             "home/Documents/e.xip", "home/Documents/f.appinstaller", "home/Documents/g.mobileconfig"});
        row("packages not entered, hidden items skipped",
            {"home/Downloads/Tool.app/Contents/x.pkg", "home/Downloads/.old.dmg",
             "home/Downloads/.stash/y.dmg"},
            {}, 2, {});
        row("links neither listed nor followed", {"outside/real.dmg", "outside/in/z.dmg"},
            {"home/Downloads/link.dmg>outside/real.dmg", "home/Downloads/dir>outside/in",
             "home/Downloads/dangling.zip>outside/gone.zip", "home/Public>outside"},
            2, {});
        row("every place below the home, the shared folder and its Downloads",
            {"home/Public/a.dmg", "home/Public/s/x.dmg", "home/Library/Downloads/b.dmg",
             "home/Library/Mobile Documents/com~apple~CloudDocs/Downloads/c.dmg",
             "home/Library/Containers/com.apple.mail/Data/Library/Mail Downloads/d.dmg", "shared/f.dmg",
             "home/Library/h.dmg", "home/Music/i.dmg"},
            {}, 1,
            {"home/Library/Containers/com.apple.mail/Data/Library/Mail Downloads/d.dmg",
             "home/Library/Downloads/b.dmg",
             "home/Library/Mobile Documents/com~apple~CloudDocs/Downloads/c.dmg", "home/Public/a.dmg",
             "shared/f.dmg"});
    }
    void finds()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, links);
        QFETCH(int, maxDepth);
        QFETCH(QStringList, expected);
        for (const QString& path : files)
            file(m_box.path(path));
        for (const QString& pair : links)
            link(m_box.path(pair.section('>', 1)), m_box.path(pair.section('>', 0, 0)));
        QStringList paths = found({}, maxDepth);
        paths.sort();
        QCOMPARE(paths, expected);
    }

    void zips_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("tools"); // shell scripts given the archive; none: unzip, zipinfo
        QTest::addColumn<bool>("listed");
        const auto row = [](const char* tag, QString name, QByteArray bytes, QStringList tools, bool listed) {
            QTest::newRow(tag) << name << bytes << tools << listed;
        };
        const QByteArray junk(2000, 'j'), withApp = zipOf({"Foo.app/x"}), photos = zipOf({"a.jpg"});
        row("*.app.zip by its name alone", "Tool.APP.zip", junk, {}, true);
        row("an application inside", "a.zip", zipOf({"Foo.app/", "Foo.app/Contents/Info.plist"}), {}, true);
        row("a disk image in capitals", "c.zip", zipOf({"docs/Tool.DMG"}), {}, true);
        row("photos", "d.zip", zipOf({"a.jpg", "b.png"}), {}, false);
        row("look-alike names", "e.zip", zipOf({"notes.application", "x.dmgx", "y.xip.txt"}), {}, false);
        row("the 50th name counts", "f.zip", zipOf(numbered("p%1.jpg", 49) << "Foo.app/"), {}, true);
        row("the 51st does not, though the tail has it", "g.zip",
            zipOf(numbered("p%1.jpg", 50) << "Foo.app/"), {}, false);
        row("corrupt: the tail decides, any case", "h.zip", junk + "SETUP.PKG/" + junk, {}, true);
        row("corrupt without a marker", "i.zip", junk, {}, false);
        row("truncated with an app", "j.zip", withApp.left(40), {}, true);
        row("a marker before the last 512 KiB", "l.zip", "x.dmg" + QByteArray(512 * 1024, '\0'), {}, false);
        row("an empty archive", "m.zip", zipOf({}), {}, false);
        row("a hung tool is ended, the tail decides", "n.zip", withApp, {"exec sleep 30"}, true);
        row("a hung tool, no marker", "o.zip", photos, {"exec sleep 30"}, false);
        row("a failed tool: the next one answers", "p.zip", photos, {"echo X.pkg; exit 9", "echo Setup.pkg"},
            true);
        row("the first listing wins", "q.zip", withApp, {"echo a.jpg", "echo Setup.pkg"}, false);
        row("an empty listing is none", "r.zip", withApp, {"printf '\\n\\n'"}, true);
        row("a listing not in UTF-8 is none", "s.zip", withApp, {"printf 'a\\377.jpg\\n'"}, true);
        row("blank lines are not names", "t.zip", photos, {"printf '\\n\\nSetup.pkg\\n'"}, true);
    }
    void zips()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, tools);
        QFETCH(bool, listed);
        LocalInstallerPreview::Options options;
        if (!tools.isEmpty()) {
            options.listing = {{}, 200ms};
            for (const QString& script : tools)
                options.listing.tools.push_back(
                    script.startsWith('/')
                        ? InstallerArchive::ListingTool{script, {}}
                        : InstallerArchive::ListingTool{"/bin/sh", {"-c", script, "lister"}});
        } else if (!QFileInfo("/usr/bin/unzip").isExecutable() &&
                   !QFileInfo("/usr/bin/zipinfo").isExecutable()) {
            QSKIP("needs /usr/bin/unzip or /usr/bin/zipinfo");
        }
        write(m_home + "/Downloads/" + name, bytes);
        QCOMPARE(found(options).size(), listed ? 1 : 0);
    }

    void namesAndSources_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("source");
        using TestSupport::row;
        const QString hash = QString(64, 'a') + "--", brew = "home/Library/Caches/Homebrew/";
        row("Homebrew drops the hash", brew + hash + "wget.dmg", "wget.dmg", "Homebrew");
        row("capital hex is no hash", brew + hash.toUpper() + "x.dmg", hash.toUpper() + "x.dmg", "Homebrew");
        row("63 digits are no hash", brew + hash.mid(1) + "x.dmg", hash.mid(1) + "x.dmg", "Homebrew");
        row("elsewhere the hash stays", "home/Downloads/" + hash + "wget.dmg", hash + "wget.dmg",
            "Downloads");
        row("Telegram in Downloads: once, from Downloads", "home/Downloads/Telegram Desktop/t.dmg", "t.dmg",
            "Downloads");
        row("Telegram's own folder", "home/Library/Application Support/Telegram Desktop/t.dmg", "t.dmg",
            "Telegram");
        row("shared Downloads: once, from the shared folder", "shared/Downloads/s.pkg", "s.pkg", "Shared");
    }
    void namesAndSources()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QFETCH(QString, source);
        file(m_box.path(path), 3000);
        const auto report = LocalInstallerPreview::snapshot(m_home, m_places);
        QCOMPARE(report.entries.size(), std::size_t(1));
        const InstallerPreviewReport::Entry& entry = report.entries[0];
        QCOMPARE(entry.name, name);
        QCOMPARE(entry.source, source);
        QCOMPARE(entry.path, m_box.path(path));
        QCOMPARE(entry.byteCount, allocated(m_box.path(path)));
    }

    void order_data()
    {
        QTest::addColumn<QList<qint64>>("sizes");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("largest first")
            << QList<qint64>{10, 30, 20} << QStringList{"a", "b", "c"} << QStringList{"b", "c", "a"};
        QTest::newRow("equal sizes: natural order, case ignored")
            << QList<qint64>{5, 5, 5, 9} << QStringList{"file10.dmg", "File2.dmg", "file1.dmg", "z.dmg"}
            << QStringList{"z.dmg", "file1.dmg", "File2.dmg", "file10.dmg"};
    }
    void order()
    {
        QFETCH(QList<qint64>, sizes);
        QFETCH(QStringList, names);
        QFETCH(QStringList, expected);
        std::vector<InstallerPreviewReport::Entry> entries;
        for (int i = 0; i < names.size(); ++i)
            entries.push_back({QUuid::createUuid(), names[i], "/x/" + names[i], "Downloads", sizes[i]});
        const InstallerPreviewReport report(entries, QDateTime::currentDateTimeUtc());
        QStringList order;
        for (const auto& entry : report.entries)
            order << entry.name;
        QCOMPARE(order, expected);
        QCOMPARE(report.totalBytes(), std::accumulate(sizes.begin(), sizes.end(), qint64(0)));
    }

    void systemPlaces_data()
    {
        QTest::addColumn<QString>("currentHome");
        QTest::addColumn<bool>("searched");
        QTest::newRow("the current user's home") << "home" << true;
        QTest::newRow("the same home, spelled differently") << "home/./" << true;
        QTest::newRow("another home") << "home2" << false;
    }
    void systemPlaces()
    {
        QFETCH(QString, currentHome);
        QFETCH(bool, searched);
        m_places.currentHome = m_box.path(currentHome);
        file(m_box.path("system/Updates/u.pkg"));
        QCOMPARE(found(), searched ? QStringList{"system/Updates/u.pkg"} : QStringList{});
        const auto locations = LocalInstallerPreview::availableScanLocations(m_home, m_places);
        QCOMPARE(locations.size(), std::size_t(searched ? 13 : 12));
        QCOMPARE(locations.back().source, searched ? "System Updates" : "Telegram");
        QCOMPARE(locations.back().exists, searched);
    }

    void scanLocationsAreLabelledInTheUsersLanguage()
    {
        TestSupport::useLanguage(AppLanguagePreference::chinese);
        folder(m_home + "/Downloads");
        m_places = {{}, m_home, {{"/", "根", "Root"}}};
        const auto locations = LocalInstallerPreview::availableScanLocations(m_home, m_places);
        QCOMPARE(locations.size(), std::size_t(11)); // no shared folder
        QCOMPARE(locations.front(),
                 (LocalInstallerPreview::ScanLocation{m_home + "/Downloads", "Downloads", "下载", true}));
        QCOMPARE(locations[1].exists, false);
        QCOMPARE(locations.back(), (LocalInstallerPreview::ScanLocation{"/", "/", "根", true}));
    }

    void aSpentBudgetOrACancelEndsTheScan()
    {
        file(m_home + "/Downloads/a.dmg");
        const std::atomic_bool cancelled{true};
        LocalInstallerPreview::Options options;
        options.cancelled = &cancelled;
        QCOMPARE(found(options), QStringList{});
        options = {};
        options.budget = 0ms;
        QCOMPARE(found(options), QStringList{});
        QCOMPARE(found(), QStringList{"home/Downloads/a.dmg"});
    }

    void theServiceScansTwoLevelsDeep()
    {
        file(m_home + "/Downloads/a/b.dmg");
        file(m_home + "/Downloads/a/b/c.dmg");
        const auto report = InstallerPreviewService::snapshot(m_home, m_places).result();
        QVERIFY(report);
        QCOMPARE(report->entries.size(), std::size_t(1));
        QCOMPARE(report->entries[0].path, m_home + "/Downloads/a/b.dmg");
        // A run called off before it ends yields nothing rather than a partial list.
        const auto cancelled = std::make_shared<std::atomic_bool>(true);
        QVERIFY(!InstallerPreviewService::snapshot(m_home, m_places, {}, cancelled).result());
    }

private:
    Sandbox m_box;
    QString m_home;
    LocalInstallerPreview::Places m_places;
};

KELVO_REGISTER_TEST(TestLocalInstallerPreview)
#include "tst_LocalInstallerPreview.moc"
