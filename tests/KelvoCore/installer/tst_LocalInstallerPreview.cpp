// The installer preview against a synthetic home: which files are installers, where they are looked
// for, what they are called and in which order they come.
#include "TestMain.h"

#include "SyntheticHome.h"
#include "ZipDirectory.h"

#include "installer/LocalInstallerPreview.h"

using namespace SyntheticHome;
using namespace std::chrono_literals;
using namespace TestSupport;

class TestLocalInstallerPreview : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;
    LocalInstallerPreview::Places m_places;

    // Entries as paths below the test folder, in report order.
    QStringList found(const LocalInstallerPreview::Options& options = {}, int maxDepth = 2)
    {
        return relative(m_box.path(),
                        LocalInstallerPreview::snapshot(m_home, m_places, maxDepth, options).entries);
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
        // files: below the test folder; "-" before those not found
        columns<QStringList, int>("files", "maxDepth");
        const QString d = "home/Downloads/";
        row("two levels deep, not three", QStringList{d + "a.dmg", d + "s/b.pkg", "-" + d + "s/t/c.pkg"}, 2);
        row("extensions in any case, nothing else",
            QStringList{d + "a.DMG", d + "c.appinstaller", "-" + d + "h.dmg.part", "-" + d + "dmg"}, 2);
        row("packages not entered, hidden items skipped",
            QStringList{"-" + d + "Tool.app/Contents/x.pkg", "-" + d + ".old.dmg", "-" + d + ".stash/y.dmg"},
            2);
        row("every place below the home, the shared folder and its Downloads",
            QStringList{"home/Public/a.dmg", "-home/Public/s/x.dmg", "home/Library/Downloads/b.dmg",
                        "home/Library/Mobile Documents/com~apple~CloudDocs/Downloads/c.dmg",
                        "home/Library/Containers/com.apple.mail/Data/Library/Mail Downloads/d.dmg",
                        "shared/f.dmg", "-home/Library/h.dmg", "-home/Music/i.dmg"},
            1);
    }
    void finds()
    {
        const auto [files, maxDepth] = fetch<QStringList, int>("files", "maxDepth");
        QStringList expected, paths;
        for (const QString& path : files) {
            file(m_box.path(path.startsWith('-') ? path.mid(1) : path));
            if (!path.startsWith('-'))
                expected << path;
        }
        paths = found({}, maxDepth);
        paths.sort();
        expected.sort();
        QCOMPARE(paths, expected);
    }

    void linksAreNeitherListedNorFollowed()
    {
        link(file(m_box.path("outside/real.dmg")), m_home + "/Downloads/link.dmg");
        link(folder(m_box.path("outside")), m_home + "/Downloads/dir");
        link(m_box.path("outside"), m_home + "/Public");
        QCOMPARE(found(), QStringList{});
    }

    // A zip is an installer when it holds an application, a disk image or a package among its first
    // fifty names, as the listing tools tell, or in its tail when no tool answers.
    void zips_data()
    {
        // tools: shell scripts given the archive; none: unzip, zipinfo
        columns<QString, QByteArray, QStringList, bool>("name", "bytes", "tools", "listed");
        QStringList photos;
        for (int i = 1; i <= 50; ++i)
            photos << QString("p%1.jpg").arg(i);
        const QByteArray junk(2000, 'j'), withApp = zipOf({"Foo.app/x"}), pictures = zipOf({"a.jpg"});
        const QStringList none;
        row("*.app.zip by its name alone", "Tool.APP.zip", junk, none, true);
        row("a disk image inside, in capitals", "c.zip", zipOf({"a.jpg", "docs/Tool.DMG"}), none, true);
        row("look-alike names", "e.zip", zipOf({"notes.application", "x.dmgx", "y.xip.txt"}), none, false);
        row("the 50th name counts", "f.zip", zipOf(photos.mid(1) << "Foo.app/"), none, true);
        row("the 51st does not, though the tail has it", "g.zip", zipOf(photos << "Foo.app/"), none, false);
        row("corrupt: the tail decides, any case", "h.zip", junk + "SETUP.PKG/" + junk, none, true);
        row("corrupt without a marker", "i.zip", junk, none, false);
        row("a marker before the last 512 KiB", "l.zip", "x.dmg" + QByteArray(512 * 1024, '\0'), none, false);
        row("a hung tool is ended, the tail decides", "n.zip", withApp, QStringList{"exec sleep 30"}, true);
        row("a failed tool: the next one answers", "p.zip", pictures,
            QStringList{"echo X.pkg; exit 9", "echo S.pkg"}, true);
        row("the first listing wins", "q.zip", withApp, QStringList{"echo a.jpg", "echo Setup.pkg"}, false);
        row("an empty listing is none", "r.zip", withApp, QStringList{"printf '\\n\\n'"}, true);
        row("a listing not in UTF-8 is none", "s.zip", withApp, QStringList{"printf 'a\\377.jpg\\n'"}, true);
    }
    void zips()
    {
        const auto [name, bytes, tools, listed] =
            fetch<QString, QByteArray, QStringList, bool>("name", "bytes", "tools", "listed");
        LocalInstallerPreview::Options options;
        if (!tools.isEmpty()) {
            options.listing = {{}, 1000ms}; // far above a shell's start, even on a busy machine
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
        columns<QString, QString, QString>("path", "name", "source");
        const QString hash = QString(64, 'a') + "--", brew = "home/Library/Caches/Homebrew/";
        row("Homebrew drops the hash", brew + hash + "wget.dmg", "wget.dmg", "Homebrew");
        row("63 digits are no hash", brew + hash.mid(1) + "x.dmg", hash.mid(1) + "x.dmg", "Homebrew");
        row("elsewhere the hash stays", "home/Downloads/" + hash + "w.dmg", hash + "w.dmg", "Downloads");
        row("Telegram in Downloads: once, from Downloads", "home/Downloads/Telegram Desktop/t.dmg", "t.dmg",
            "Downloads");
        row("shared Downloads: once, from the shared folder", "shared/Downloads/s.pkg", "s.pkg", "Shared");
    }
    void namesAndSources()
    {
        const auto [path, name, source] = fetch<QString, QString, QString>("path", "name", "source");
        file(m_box.path(path), 3000);
        const auto report = LocalInstallerPreview::snapshot(m_home, m_places);
        QCOMPARE(report.entries.size(), std::size_t(1));
        QCOMPARE(report.entries[0].name + "@" + report.entries[0].source.text(), name + "@" + source);
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
            entries.push_back(
                {QUuid::createUuid(), names[i], "/x/" + names[i], LocalText::same("Downloads"), sizes[i]});
        const InstallerPreviewReport report(entries, QDateTime::currentDateTimeUtc());
        QStringList order;
        for (const auto& entry : report.entries)
            order << entry.name;
        QCOMPARE(order, (QStringList{"z.dmg", "file1.dmg", "File2.dmg", "file10.dmg", "a.dmg"}));
        QCOMPARE(report.totalBytes(), 27);
    }

    // System places are searched only for the current user's own home, however it is spelled.
    void systemPlacesOnlyForTheCurrentHome()
    {
        file(m_box.path("system/Updates/u.pkg"));
        for (const char* current : {"home", "home/./", "home2"}) {
            m_places.currentHome = m_box.path(current);
            QCOMPARE(found(),
                     QString(current) != "home2" ? QStringList{"system/Updates/u.pkg"} : QStringList{});
        }
    }

    // Each place is offered under its last component (the root under its whole path), labelled in the
    // display language, whether it exists or not; the system places follow for the current home.
    void scanLocations()
    {
        useLanguage(AppLanguagePreference::chinese);
        folder(m_home + "/Downloads");
        m_places = {{}, m_home, {{"/", "根", "Root"}}};
        const auto locations = LocalInstallerPreview::availableScanLocations(m_home, m_places);
        using Location = LocalInstallerPreview::ScanLocation;
        QCOMPARE(locations.size(), std::size_t(11)); // no shared folder
        QCOMPARE(locations.front(),
                 (Location{m_home + "/Downloads", "Downloads", {"下载", "Downloads"}, true}));
        QCOMPARE(locations[1].exists, false);
        QCOMPARE(locations.back(), (Location{"/", "/", {"根", "Root"}, true}));
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
};

KELVO_REGISTER_TEST(TestLocalInstallerPreview)
#include "tst_LocalInstallerPreview.moc"
