// The installer preview against a synthetic home: which files are installers, where they are looked
// for, what they are called and in which order they come.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "installer/InstallerPreviewService.h"

#include <QDataStream>

using namespace SyntheticHome;
using namespace std::chrono_literals;
using TestSupport::row;

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

QStringList photos(int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << QString("p%1.jpg").arg(i);
    return names;
}

} // namespace

class TestLocalInstallerPreview : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;
    LocalInstallerPreview::Places m_places;

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
        const QString d = "home/Documents/";
        row("two levels deep, not three",
            QStringList{"home/Downloads/a.dmg", "home/Downloads/s/b.pkg", "home/Downloads/s/t/c.pkg"},
            QStringList{}, 2, QStringList{"home/Downloads/a.dmg", "home/Downloads/s/b.pkg"});
        row("every extension in any case, nothing else",
            QStringList{d + "a.DMG", d + "b.Pkg", d + "c.mpkg", d + "d.iso", d + "e.xip",
                        d + "f.appinstaller", d + "g.mobileconfig", d + "h.dmg.part", d + "dmg"},
            QStringList{}, 2,
            QStringList{d + "a.DMG", d + "b.Pkg", d + "c.mpkg", d + "d.iso", d + "e.xip",
                        d + "f.appinstaller", d + "g.mobileconfig"});
        row("packages not entered, hidden items skipped",
            QStringList{"home/Downloads/Tool.app/Contents/x.pkg", "home/Downloads/.old.dmg",
                        "home/Downloads/.stash/y.dmg"},
            QStringList{}, 2, QStringList{});
        row("links neither listed nor followed", QStringList{"outside/real.dmg", "outside/in/z.dmg"},
            QStringList{"home/Downloads/link.dmg>outside/real.dmg", "home/Downloads/dir>outside/in",
                        "home/Public>outside"},
            2, QStringList{});
        row("every place below the home, the shared folder and its Downloads",
            QStringList{"home/Public/a.dmg", "home/Public/s/x.dmg", "home/Library/Downloads/b.dmg",
                        "home/Library/Mobile Documents/com~apple~CloudDocs/Downloads/c.dmg",
                        "home/Library/Containers/com.apple.mail/Data/Library/Mail Downloads/d.dmg",
                        "shared/f.dmg", "home/Library/h.dmg", "home/Music/i.dmg"},
            QStringList{}, 1,
            QStringList{"home/Library/Containers/com.apple.mail/Data/Library/Mail Downloads/d.dmg",
                        "home/Library/Downloads/b.dmg",
                        "home/Library/Mobile Documents/com~apple~CloudDocs/Downloads/c.dmg",
                        "home/Public/a.dmg", "shared/f.dmg"});
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

    // A zip is an installer when it holds an application, a disk image or a package among its first
    // names, as the listing tools tell, or in its tail when no tool answers.
    void zips_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("tools"); // shell scripts given the archive; none: unzip, zipinfo
        QTest::addColumn<bool>("listed");
        const QByteArray junk(2000, 'j'), withApp = zipOf({"Foo.app/x"}), pictures = zipOf({"a.jpg"});
        row("*.app.zip by its name alone", "Tool.APP.zip", junk, QStringList{}, true);
        row("an application inside", "a.zip", zipOf({"Foo.app/", "Foo.app/Contents/Info.plist"}),
            QStringList{}, true);
        row("a disk image in capitals", "c.zip", zipOf({"docs/Tool.DMG"}), QStringList{}, true);
        row("look-alike names", "e.zip", zipOf({"notes.application", "x.dmgx", "y.xip.txt"}), QStringList{},
            false);
        row("the 50th name counts", "f.zip", zipOf(photos(49) << "Foo.app/"), QStringList{}, true);
        row("the 51st does not, though the tail has it", "g.zip", zipOf(photos(50) << "Foo.app/"),
            QStringList{}, false);
        row("corrupt: the tail decides, any case", "h.zip", junk + "SETUP.PKG/" + junk, QStringList{}, true);
        row("corrupt without a marker", "i.zip", junk, QStringList{}, false);
        row("a marker before the last 512 KiB", "l.zip", "x.dmg" + QByteArray(512 * 1024, '\0'),
            QStringList{}, false);
        row("a hung tool is ended, the tail decides", "n.zip", withApp, QStringList{"exec sleep 30"}, true);
        row("a failed tool: the next one answers", "p.zip", pictures,
            QStringList{"echo X.pkg; exit 9", "echo Setup.pkg"}, true);
        row("the first listing wins", "q.zip", withApp, QStringList{"echo a.jpg", "echo Setup.pkg"}, false);
        row("an empty listing is none", "r.zip", withApp, QStringList{"printf '\\n\\n'"}, true);
        row("a listing not in UTF-8 is none", "s.zip", withApp, QStringList{"printf 'a\\377.jpg\\n'"}, true);
        row("blank lines are not names", "t.zip", pictures, QStringList{"printf '\\n\\nSetup.pkg\\n'"}, true);
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
                options.listing.tools.push_back({"/bin/sh", {"-c", script, "lister"}});
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
        QCOMPARE(report.entries[0].name, name);
        QCOMPARE(report.entries[0].source, source);
        QCOMPARE(report.entries[0].path, m_box.path(path));
        QCOMPARE(report.entries[0].byteCount, allocated(m_box.path(path)));
    }

    // Largest first; equal sizes in natural order, case ignored.
    void order()
    {
        const QList<qint64> sizes{5, 5, 5, 9, 3};
        const QStringList names{"file10.dmg", "File2.dmg", "file1.dmg", "z.dmg", "a.dmg"};
        std::vector<InstallerPreviewReport::Entry> entries;
        for (int i = 0; i < names.size(); ++i)
            entries.push_back({QUuid::createUuid(), names[i], "/x/" + names[i], "Downloads", sizes[i]});
        const InstallerPreviewReport report(entries, QDateTime::currentDateTimeUtc());
        QStringList order;
        for (const auto& entry : report.entries)
            order << entry.name;
        QCOMPARE(order, (QStringList{"z.dmg", "file1.dmg", "File2.dmg", "file10.dmg", "a.dmg"}));
        QCOMPARE(report.totalBytes(), 27);
    }

    void systemPlacesOnlyForTheCurrentHome_data()
    {
        QTest::addColumn<QString>("currentHome");
        QTest::addColumn<bool>("searched");
        row("the current user's home", "home", true);
        row("the same home, spelled differently", "home/./", true);
        row("another home", "home2", false);
    }
    void systemPlacesOnlyForTheCurrentHome()
    {
        QFETCH(QString, currentHome);
        QFETCH(bool, searched);
        m_places.currentHome = m_box.path(currentHome);
        file(m_box.path("system/Updates/u.pkg"));
        QCOMPARE(found(), searched ? QStringList{"system/Updates/u.pkg"} : QStringList{});
        const auto locations = LocalInstallerPreview::availableScanLocations(m_home, m_places);
        QCOMPARE(locations.back().source, searched ? "System Updates" : "Telegram");
        QCOMPARE(locations.back().exists, searched);
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
        const auto report = InstallerPreviewService::snapshot(m_home, {}, m_places).result();
        QCOMPARE(report.entries.size(), std::size_t(1));
        QCOMPARE(report.entries[0].path, m_home + "/Downloads/a/b.dmg");
    }
};

KELVO_REGISTER_TEST(TestLocalInstallerPreview)
#include "tst_LocalInstallerPreview.moc"
