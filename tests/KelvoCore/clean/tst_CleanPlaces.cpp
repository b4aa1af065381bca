// Which places Smart Clean finds in a synthetic Linux home, that a place inside another counts and
// goes once, and that "will free" is what the protection list leaves to the clean.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "clean/CleanChoice.h"
#include "clean/CleanLocations.h"
#include "clean/CleanWhitelistMatcher.h"
#include "clean/CleanWhitelistStore.h"
#include "clean/LocalCleanExecutor.h"
#include "clean/LocalCleanPreview.h"
#include "platform/FileWalker.h"

using namespace SyntheticHome;
using namespace TestSupport;
using Status = CleanPreviewReport::EntryStatus;

namespace {

const CleanPreviewReport::Entry* entryAt(const CleanPreviewReport& report, const QString& path)
{
    for (const auto& entry : report.entries)
        if (entry.path == path && entry.status == Status::cleanable)
            return &entry;
    return nullptr;
}

} // namespace

class TestCleanPlaces : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;

    CleanPreviewReport scan(const CleanCatalogue& catalogue, const QStringList& protection = {})
    {
        LocalCleanPreview::Options options;
        options.protection.emplace(protection, m_home);
        return LocalCleanPreview::snapshot(m_home, catalogue, {}, options);
    }

private slots:
    void init() { m_home = m_box.renew(); }

    // A file in the home and the place that lists it, with its group; no place: never listed.
    void linuxPlacesFound_data()
    {
        columns<QString, QString, QString>("file", "place", "section");
        const QString user = "User essentials", dev = "Developer tools";
        row("thumbnails", ".cache/thumbnails/normal/a.png", ".cache/thumbnails", user);
        row("electron cache", ".config/Code/Code Cache/js/f_1", ".config/Code/Code Cache", user);
        row("firefox", ".cache/mozilla/firefox/x.default/cache2/A", ".cache/mozilla/firefox", "Browsers");
        row("chrome's shaders", ".config/google-chrome/Default/GPUCache/data_1",
            ".config/google-chrome/Default/GPUCache", "Browsers");
        row("java", ".java/deployment/cache/6.0/1/x", ".java/deployment/cache", dev);
        row("npm", ".npm/_cacache/index-v5/x", ".npm/_cacache", dev);
        row("crash reports", ".local/share/drkonqi/1", ".local/share/drkonqi",
            "Diagnostics and crash reports");
        row("trash info", ".local/share/Trash/info/a.trashinfo", ".local/share/Trash", "Trash");
        row("maven dependencies", ".m2/repository/org/x.jar", QString(), QString());
        row("gradle's home", ".gradle/wrapper/dists/x.zip", QString(), QString());
        row("the rest of the cache", ".cache/some-app/data", QString(), QString());
    }
    void linuxPlacesFound()
    {
        const auto [path, place, section] = fetch<QString, QString, QString>("file", "place", "section");
        file(m_home + "/" + path, 4096);
        const CleanPreviewReport report = scan(CleanLocations::linuxDesktop());
        if (place.isEmpty()) {
            QVERIFY(report.entries.empty());
            return;
        }
        QCOMPARE(report.entries.size(), std::size_t(1));
        const auto& entry = report.entries.front();
        QCOMPARE(entry.path, m_home + "/" + place);
        QCOMPARE(entry.section.text(), section);
        QCOMPARE(entry.bytes, std::optional(allocated(m_home + "/" + path)));
    }

    // Files and the place each belongs to (the innermost one around it): every byte counts once in
    // the preview and goes once in the clean.
    void nestedPlacesCountOnce_data()
    {
        columns<QStringList, QStringList>("files", "places");
        row("a browser cache inside the app caches",
            QStringList{"Library/Caches/app/a", "Library/Caches/Firefox/b", "Library/Caches/Firefox/c/d"},
            QStringList{"Library/Caches", "Library/Caches/Firefox", "Library/Caches/Firefox"});
        row("a place two levels down",
            QStringList{"Library/Developer/Xcode/DerivedData/P/x",
                        "Library/Developer/Xcode/DerivedData/ModuleCache.noindex/m/y"},
            QStringList{"Library/Developer/Xcode/DerivedData",
                        "Library/Developer/Xcode/DerivedData/ModuleCache.noindex"});
    }
    void nestedPlacesCountOnce()
    {
        const auto [files, places] = fetch<QStringList, QStringList>("files", "places");
        QHash<QString, qint64> expected;
        qint64 total = 0;
        for (qsizetype i = 0; i < files.size(); ++i) {
            const qint64 size = allocated(file(m_home + "/" + files[i], 4096 * (i + 1)));
            expected[m_home + "/" + places[i]] += size;
            total += size;
        }
        const CleanPreviewReport report = scan(CleanLocations::macOS());
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            const auto* entry = entryAt(report, it.key());
            QVERIFY2(entry, qPrintable(it.key()));
            QCOMPARE(entry->bytes, std::optional(it.value()));
        }
        QCOMPARE(report.willFreeBytes(), total);

        const LocalCleanResult result = LocalCleanExecutor::clean(report, {m_home}, m_home, {});
        QCOMPARE(std::pair(result.removedBytes, result.failedCount), std::pair(total, 0));
        for (const QString& path : files)
            QVERIFY2(!exists(m_home + "/" + path), qPrintable(path));
        for (const QString& place : places)
            QVERIFY(exists(m_home + "/" + place)); // a place is emptied, never removed
    }

    // Entries × files in places of a Linux home (kept or not): the matcher, the preview's protected
    // bytes and the real clean agree on each, so "will free" is what the clean frees.
    void protectionMeansTheSameEverywhere_data()
    {
        columns<QStringList, QStringList, QStringList>("list", "files", "kept");
        const QStringList files{"http/a", "http/keep/b", "wheels/c.whl"};
        row("a folder inside the place", QStringList{"~/.cache/pip/http/keep"}, files,
            QStringList{"http/keep/b"});
        row("a glob", QStringList{"$HOME/.cache/pip/*.whl"}, files, QStringList{"wheels/c.whl"});
        row("the place itself", QStringList{"~/.cache/pip"}, files, files);
        // Every "*" is a wildcard standing for any run, "/" included, and a match keeps what is below it.
        const QString app = "../../.config/App/";
        row("a star inside and at the end", QStringList{"~/.config/*/Cache/keep*"},
            QStringList{app + "Cache/keep-me.bin", app + "Cache/keep/x", app + "Cache/other.bin",
                        app + "Cache/sub/keep.bin"},
            QStringList{app + "Cache/keep-me.bin", app + "Cache/keep/x"});
        row("a star crossing folders", QStringList{"~/.cache/*/keep"},
            QStringList{"a/b/keep/x", "a/keep2", "keep"}, QStringList{"a/b/keep/x", "keep"});
        row("a star inside keeps a place below its match", QStringList{"~/.config/*/Service Worker"},
            QStringList{app + "Service Worker/CacheStorage/x", app + "Cache/y"},
            QStringList{app + "Service Worker/CacheStorage/x"});
        // Where no other entry reaches, the walk judges items by name: deep, and a whole folder.
        row("the Finder's metadata, wherever it lies", QStringList{"FINDER_METADATA"},
            QStringList{"http/a", "http/x/y/.DS_Store", "w/com.apple.finder/c", "w/.DS_Store/d/e"},
            QStringList{"http/x/y/.DS_Store", "w/com.apple.finder/c", "w/.DS_Store/d/e"});
        row("the defaults keep gradle's cache whole", CleanWhitelistStore::defaultPatterns(),
            QStringList{"../../.gradle/caches/modules-2/x.jar"},
            QStringList{"../../.gradle/caches/modules-2/x.jar"});
    }
    void protectionMeansTheSameEverywhere()
    {
        const auto [list, files, kept] =
            fetch<QStringList, QStringList, QStringList>("list", "files", "kept");
        const QString pip = m_home + "/.cache/pip";
        const CleanWhitelistMatcher::List protection(list, m_home);
        qint64 total = 0, keptBytes = 0;
        for (const QString& name : files) {
            const QString path = file(QDir::cleanPath(pip + "/" + name), 8192);
            total += allocated(path);
            keptBytes += kept.contains(name) ? allocated(path) : 0;
            QVERIFY2(protection.isProtected(path) == kept.contains(name), qPrintable(name));
        }
        CleanWhitelistStore::save({list}, m_home);
        const CleanPreviewReport report = scan(CleanLocations::linuxDesktop(), list);
        qint64 protectedBytes = 0;
        for (const auto& entry : report.entries)
            protectedBytes += entry.protectedBytes.value_or(0);
        QCOMPARE(protectedBytes, keptBytes);
        QCOMPARE(report.willFreeBytes(), total - keptBytes);

        const LocalCleanResult result = LocalCleanExecutor::clean(report, {m_home}, m_home, {});
        QCOMPARE(result.removedBytes, total - keptBytes);
        for (const QString& name : files)
            QVERIFY2(exists(QDir::cleanPath(pip + "/" + name)) == kept.contains(name), qPrintable(name));
    }

    // What a place holds (files and links, relative to it) on either system: the preview counts every
    // item the clean removes (a bundle-named folder with its contents on Linux, a bundle as one item of
    // its full size on macOS, links at no size, hidden files), and the clean frees exactly that.
    void thePreviewCountsWhatTheCleanRemoves_data()
    {
        columns<bool, QString, QStringList, QStringList, qint64>("macOS", "place", "files", "links", "items");
        row("Linux: links only", false, ".cache/pnpm", QStringList{}, QStringList{"a", "sub/b"}, qint64(3));
        row("Linux: bundle-named folders beside a link", false, ".cache/yarn",
            QStringList{"com.example.app/sub/x.bin", "Some.framework/y"}, QStringList{"l"}, qint64(6));
        row("hidden files below", false, ".cache/pip", QStringList{"http/.tmp/z", ".hidden"}, QStringList{},
            qint64(4));
        row("macOS: a bundle is one item of its full size", true, "Library/Logs",
            QStringList{"Old.app/Contents/MacOS/binary", "a.log"}, QStringList{"Old.app/link"}, qint64(2));
        row("macOS: the Linux npm cache is part of .npm", true, ".npm", QStringList{"_cacache/index-v5/x"},
            QStringList{}, qint64(3));
    }
    void thePreviewCountsWhatTheCleanRemoves()
    {
        const auto [macOS, place, files, links, items] =
            fetch<bool, QString, QStringList, QStringList, qint64>("macOS", "place", "files", "links",
                                                                   "items");
        const QString placePath = m_home + "/" + place;
        const QString canary = file(m_box.path("outside/canary"), 4096);
        qint64 bytes = 0;
        for (const QString& name : files)
            bytes += allocated(file(placePath + "/" + name, 4096));
        for (const QString& name : links) // a link takes a block where its target is long
            bytes += allocated(link(m_box.path("outside"), placePath + "/" + name));
        const CleanPreviewReport report =
            scan(macOS ? CleanLocations::macOS() : CleanLocations::linuxDesktop());
        QCOMPARE(report.entries.size(), std::size_t(1));
        const auto& entry = report.entries.front();
        QCOMPARE(std::pair(entry.path, entry.bytes), std::pair(placePath, std::optional(bytes)));
        QVERIFY2(entry.note->english.contains(QRegularExpression(QString(", %1 items?$").arg(items))),
                 qPrintable(entry.note->english));
        QVERIFY(CleanChoice::isChoosable(entry));

        const LocalCleanResult result = LocalCleanExecutor::clean(report, {m_home}, m_home, {});
        QCOMPARE(std::pair(result.removedBytes, result.failedCount), std::pair(report.willFreeBytes(), 0));
        QVERIFY(isEmptyFolder(placePath) && exists(canary));
    }

    // Files in the home and the entries the wildcards make of them ("place:label" in report order;
    // a browser's entry has no label): each byte counts once, whatever else names the same folder.
    void wildcardPlacesPerApplication_data()
    {
        columns<QStringList, QStringList>("files", "entries");
        row("every cache of an application",
            QStringList{".config/Mattermost/Cache/Cache_Data/a", ".config/Mattermost/GPUCache/b",
                        ".config/Mattermost/Service Worker/CacheStorage/c/d",
                        ".config/Mattermost/Local Storage/leveldb/e"},
            QStringList{".config/Mattermost/Cache:Mattermost cache",
                        ".config/Mattermost/GPUCache:Mattermost GPU cache",
                        ".config/Mattermost/Service Worker/CacheStorage:Mattermost service worker cache"});
        row("applications in name order",
            QStringList{".config/zulip/Cache/a", ".config/Joplin/Code Cache/js/b"},
            QStringList{".config/Joplin/Code Cache:Joplin code cache", ".config/zulip/Cache:zulip cache"});
        row("a named application keeps its name",
            QStringList{".config/Code/Cache/a", ".config/Code/Service Worker/CacheStorage/b"},
            QStringList{".config/Code/Cache:Visual Studio Code cache",
                        ".config/Code/Service Worker/CacheStorage:Visual Studio Code service worker cache"});
        row("a browser's folder is the browser's",
            QStringList{".config/google-chrome/Cache/a", ".config/chromium/Default/Code Cache/b"},
            QStringList{".config/chromium/Default/Code Cache:"});
        row("deeper or other folders are no place",
            QStringList{".config/Microsoft/Teams/Cache/a", ".config/app/Cache.old/b", ".config/Cache/c",
                        ".local/share/app/Cache/d"},
            QStringList{});
    }
    void wildcardPlacesPerApplication()
    {
        const auto [files, expected] = fetch<QStringList, QStringList>("files", "entries");
        qint64 inPlaces = 0;
        for (const QString& path : files) {
            const qint64 size = allocated(file(m_home + "/" + path, 4096));
            if (std::any_of(expected.begin(), expected.end(), [&](const QString& entry) {
                    return path.startsWith(entry.section(':', 0, 0) + "/");
                }))
                inPlaces += size;
        }
        const CleanPreviewReport report = scan(CleanLocations::linuxDesktop());
        QStringList found;
        for (const auto& entry : report.entries)
            found << entry.path.mid(m_home.size() + 1) + ":" +
                         (entry.note->english.contains(" · ") ? entry.note->english.section(" · ", 0, 0)
                                                              : QString());
        QCOMPARE(found, expected);
        QCOMPARE(report.willFreeBytes(), inPlaces);
    }

    // Paths that only look like a place a wildcard names, and one that is: the clean empties only a
    // place of the catalogue, whatever a report names.
    void theCleanTakesOnlyWildcardPlaces_data()
    {
        columns<QString, bool>("place", "cleaned");
        row("an application's cache", ".config/x/Cache", true);
        row("two folders for the star", ".config/a/b/Cache", false);
        row("a way up and out", ".config/../x/Cache", false);
        row("the settings folder's own", ".config/Cache", false);
        row("a browser's folder", ".config/google-chrome/Cache", false);
        row("another name", ".config/x/Cache2", false);
    }
    void theCleanTakesOnlyWildcardPlaces()
    {
        const auto [place, cleaned] = fetch<QString, bool>("place", "cleaned");
        const QString path = m_home + "/" + place;
        const QString data = file(QDir::cleanPath(path) + "/data", 4096);
        CleanPreviewReport report;
        report.entries.push_back({QUuid::createUuid(), LocalText::same("Section"), path, std::nullopt,
                                  Status::cleanable, FileWalker::statItem(QDir::cleanPath(path))->identity});
        const LocalCleanResult result = LocalCleanExecutor::clean(report, {m_home}, m_home, {});
        QCOMPARE(exists(data), !cleaned);
        QCOMPARE(result.removedCount, cleaned ? 1 : 0);
    }

    // A report read back keeps what was measured; the older tool's frees what its notes say.
    void willFreeOfAReportReadBack()
    {
        file(m_home + "/.cache/pip/keep/b", 8192);
        CleanPreviewReport report = scan(CleanLocations::linuxDesktop(), {"~/.cache/pip/keep"});
        // Read back, its texts are those of the language it was written in.
        const CleanPreviewReport readBack = CleanPreviewReport::fromJson(report.toJson());
        QCOMPARE(CleanPreviewReport::fromJson(readBack.toJson()), readBack);
        QCOMPARE(readBack.willFreeBytes(), report.willFreeBytes());
        report.entries.front().bytes.reset();
        report.entries.front().protectedBytes.reset();
        QCOMPARE(report.willFreeBytes(), *LocalCleanPreview::byteCount(report.entries.front().note));
    }
};

KELVO_REGISTER_TEST(TestCleanPlaces)
#include "tst_CleanPlaces.moc"
