// Smart Clean against a synthetic home: what the preview lists, measures, skips and sums, and what the
// real clean removes and keeps, never reaching outside the home folder.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "clean/CleanLocations.h"
#include "clean/CleanWhitelistStore.h"
#include "clean/LocalCleanExecutor.h"
#include "clean/LocalCleanPreview.h"
#include "platform/FileWalker.h"
#include "vocabulary/PathText.h"
#include "vocabulary/SizeText.h"

using namespace SyntheticHome;
using namespace TestSupport;
using Status = CleanPreviewReport::EntryStatus;

namespace {

CleanPreviewReport scan(const QString& home, const QSet<QString>& running = {})
{
    return LocalCleanPreview::snapshot(home, CleanLocations::macOS(), running);
}

const CleanPreviewReport::Entry* entryAt(const CleanPreviewReport& report, const QString& path)
{
    for (const auto& entry : report.entries)
        if (entry.path == path)
            return &entry;
    return nullptr;
}

// Entries as a preview makes them, each with the identity of what is at its path now.
CleanPreviewReport reportOf(const QStringList& paths, Status status = Status::cleanable)
{
    CleanPreviewReport report;
    for (const QString& path : paths) {
        const std::optional<FileWalker::Item> item = FileWalker::statItem(path);
        report.entries.push_back({QUuid::createUuid(), LocalText::same("Section"), path, std::nullopt, status,
                                  item ? std::optional(item->identity) : std::nullopt});
    }
    return report;
}

} // namespace

class TestSmartClean : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;
    QString m_caches;

    // Nothing counts as running, so no process listing is asked.
    LocalCleanResult clean(const CleanPreviewReport& report, const QStringList& keep = {})
    {
        return LocalCleanExecutor::clean(report, {m_home}, m_home, keep);
    }

private slots:
    void init()
    {
        m_home = m_box.renew();
        m_caches = m_home + "/Library/Caches";
    }

    // An empty place is not listed, but an empty browser cache is; progress names each place.
    void everyGroupInOrder()
    {
        folder(m_home + "/Library/Caches");
        const CleanPreviewReport empty = scan(m_home);
        QVERIFY(empty.entries.empty() && empty.generatedAt.isValid());
        for (const char* path : {"Library/Caches/app/cache.db", "Library/Logs/app.log", ".npm/_cacache/index",
                                 "Library/Logs/DiagnosticReports/crash.ips", ".Trash/old.txt"})
            file(m_home + "/" + path, 4096);
        folder(m_home + "/Library/Caches/Firefox");
        QStringList sections, locations;
        LocalCleanPreview::Options options;
        options.onProgress = [&](const LocalCleanPreview::Progress& progress) {
            locations << progress.location;
        };
        const CleanPreviewReport report =
            LocalCleanPreview::snapshot(m_home, CleanLocations::macOS(), {}, options);
        QVERIFY(locations.contains(m_home + "/Library/Caches")); // each place measured says where it is
        for (const auto& entry : report.entries)
            if (sections.isEmpty() || sections.last() != entry.section.text())
                sections << entry.section.text();
        QCOMPARE(sections, (QStringList{"User essentials", "Browsers", "Developer tools",
                                        "Diagnostics and crash reports", "Trash"}));
        const auto* caches = entryAt(report, m_home + "/Library/Caches");
        QVERIFY(caches && caches->status == Status::cleanable);
        QCOMPARE(caches->note->text(),
                 "User app caches · " +
                     SizeText::bytesWithDefaultUnits(allocated(m_home + "/Library/Caches/app/cache.db")) +
                     ", 2 items"); // the Firefox cache inside is a place of its own
        const auto* firefox = entryAt(report, m_home + "/Library/Caches/Firefox");
        QCOMPARE(firefox->note->text(), QString("Zero bytes, 0 items"));
        const auto* npm = entryAt(report, m_home + "/.npm");
        QVERIFY(npm && npm->note->text().startsWith("npm cache · "));
        QCOMPARE(npm->identity, std::optional(FileWalker::statItem(m_home + "/.npm")->identity));
        QVERIFY(report.summary->text().endsWith("| Categories: 5"));
        // A language switch after the scan re-words what it found, sizes included.
        useLanguage(AppLanguagePreference::chinese);
        QCOMPARE(report.entries.front().section.text() + " / " + firefox->note->text(),
                 "用户基础项目 / 零字节，0 项");
        QVERIFY(report.summary->text().startsWith("预计可清理："));
    }

    // The potential space is the sum of the cleanable rows' bytes, in the rows' units.
    void summaryIsTheRowsSum()
    {
        file(m_home + "/.Trash/a", 1'500'000); // 3 MB together: a sum read back in binary units is 3.2 MB
        file(m_home + "/.Trash/b", 1'500'000);
        // A browser that is running is listed, but adds nothing.
        file(m_home + "/Library/Application Support/Google/Chrome/Default/Code Cache/js/x", 5000);
        const CleanPreviewReport report = scan(m_home, {"Google Chrome"});
        QCOMPARE(report.entries.size(), std::size_t(2));
        QCOMPARE(report.summary->text(),
                 "Potential space: " + SizeText::bytesWithDefaultUnits(*report.entries[1].bytes) +
                     " | Items: 2 | Categories: 1");
    }

    // A single file is one item of its allocated size, and the item cap bounds huge folders.
    void whatALocationCounts()
    {
        const QString npm = file(m_home + "/.npm", 10000);
        QVERIFY(LocalCleanPreview::directorySummary(npm).items == 1 && entryAt(scan(m_home), npm));
        QCOMPARE(LocalCleanPreview::directorySummary(npm).bytes, allocated(npm));
        manyFiles(m_home + "/Library/Caches/huge", 25000, 0, 1000);
        QCOMPARE(LocalCleanPreview::directorySummary(m_home + "/Library/Caches").items,
                 LocalCleanPreview::itemCap);
    }

    // A place reached through a link, or that is one, is never measured: it is listed as skipped,
    // saying which link stands in the way, when something is behind it.
    void aLinkAtOrAboveAPlaceIsReported_data()
    {
        columns<QString, bool>("linkAt", "somethingBehind");
        row("at the place", "Library/Caches", true);
        row("above the place", "Library", true);
        row("above, nothing behind", "Library", false);
    }
    void aLinkAtOrAboveAPlaceIsReported()
    {
        const auto [linkAt, somethingBehind] = fetch<QString, bool>("linkAt", "somethingBehind");
        const QString outside = folder(m_box.path("outside"));
        if (somethingBehind)
            file(outside + (linkAt == "Library" ? "/Caches/big.bin" : "/big.bin"), 100000);
        link(outside, m_home + "/" + linkAt);
        const CleanPreviewReport report = scan(m_home);
        const auto* entry = entryAt(report, m_home + "/Library/Caches");
        QCOMPARE(entry != nullptr, somethingBehind);
        if (entry) {
            QCOMPARE(entry->status, Status::skipped);
            QVERIFY(entry->note->text().contains(QString("“%1” is a link").arg(m_home + "/" + linkAt)));
            QVERIFY(!entry->identity);
        }
    }

    void runningBrowsers_data()
    {
        columns<QString, bool>("process", "skipped");
        row("browser itself", "Google Chrome", true);
        row("name differs in case", "google chrome", false);
    }
    void runningBrowsers()
    {
        const auto [process, skipped] = fetch<QString, bool>("process", "skipped");
        const QString chrome = m_home + "/Library/Caches/Google/Chrome";
        file(chrome + "/Cache/data_0", 5000);
        file(m_home + "/Library/Application Support/Google/Chrome/Default/Code Cache/js/x", 5000);
        std::vector<CleanPreviewReport::Entry> browsers;
        for (const auto& entry : scan(m_home, {process}).entries)
            if (entry.section.english == "Browsers")
                browsers.push_back(entry);
        QCOMPARE(browsers.size(), std::size_t(skipped ? 1 : 2));
        QCOMPARE(browsers[0].status, skipped ? Status::skipped : Status::cleanable);
        QCOMPARE(browsers[0].path,
                 skipped ? QString("Google Chrome is running, cache cleanup skipped") : chrome);
        // The paths a clean then keeps, whether they exist or not.
        const QStringList kept =
            LocalCleanPreview::runningBrowserPaths(m_home, CleanLocations::macOS(), {process, "Safari"});
        QCOMPARE(kept.contains(chrome), skipped);
        QVERIFY(kept.contains(m_home + "/Library/Caches/com.apple.Safari"));
        if (skipped)
            QVERIFY(browsers[0].note->english.endsWith(", 4 items")); // both paths summed
        else
            QVERIFY(!browsers[0].note->english.contains(" · "));
    }

    void byteCount_data()
    {
        // bytes: -1: none
        columns<QString, qint64>("note", "bytes");
        row("kilobytes", "User app caches · 12 KB, 3 items", qint64(12 * 1024));
        row("fraction of megabytes", "1.5 MB, 10 items", qint64(1.5 * 1048576));
        row("gigabytes, any case", "2 gb, 1 items", qint64(2) * 1073741824);
        row("terabytes", "1 TB", qint64(1099511627776));
        row("bytes", "512 bytes, 1 items", qint64(512));
        row("zero bytes wording", "Zero bytes, 0 items", qint64(-1));
        row("first size wins", "3 KB then 5 MB", qint64(3 * 1024));
        row("truncated towards zero", "1.0009 KB", qint64(1024));
    }
    void byteCount()
    {
        const auto [note, bytes] = fetch<QString, qint64>("note", "bytes");
        QCOMPARE(LocalCleanPreview::byteCount(LocalText::same(note)).value_or(-1), bytes);
        QVERIFY(!LocalCleanPreview::byteCount(std::nullopt));
    }

    // Every family of places, with a link above the place, at it or inside it, leading out of the
    // home folder or back to the home folder itself; made before the preview, or swapped in between
    // the preview and the clean. What the link leads to is never touched.
    void neverLeavesTheHomeThroughALink_data()
    {
        // The place, then where the link stands; the target is "outside" or "home".
        columns<QString, QString, QString, bool>("place", "linkAt", "target", "swap");
        const QStringList links =
            QString(
                ".cache/thumbnails>.cache/thumbnails;.cache/thumbnails>.cache/thumbnails/sub;"
                ".cache/mozilla/firefox>.cache/mozilla;"
                ".cache/mozilla/firefox>.cache;.config/google-chrome/Default/Code Cache>.config;"
                ".config/google-chrome/Default/Code Cache>.config/google-chrome;.npm/_cacache>.npm/_cacache;"
                ".npm/_cacache>.npm;"
                ".cargo/registry/cache>.cargo/registry;.cargo/registry/cache>.cargo;.config/Code/"
                "Cache>.config/Code;"
                ".local/share/Trash>.local/share;.local/share/Trash>.local/share/Trash;"
                ".local/share/Trash>.local/share/Trash/files;.config/Mattermost/Cache>.config/Mattermost;"
                ".config/Mattermost/Cache>.config/Mattermost/Cache;"
                ".config/Mattermost/Service Worker/CacheStorage>.config/Mattermost/Service Worker")
                .split(';');
        for (const QString& pair : links)
            for (const char* target : {"outside", "home"})
                for (bool swap : {false, true})
                    QTest::addRow("%s to %s%s", qPrintable(pair), target, swap ? ", swapped in" : "")
                        << pair.section('>', 0, 0) << pair.section('>', 1) << QString(target) << swap;
    }
    void neverLeavesTheHomeThroughALink()
    {
        const auto [place, linkAt, target, swapAfterPreview] =
            fetch<QString, QString, QString, bool>("place", "linkAt", "target", "swap");
        const QString placePath = m_home + "/" + place, linkPath = m_home + "/" + linkAt;
        const bool inside = linkAt.startsWith(place + "/");
        const QString targetRoot = target == "home" ? m_home : folder(m_box.path("outside"));
        // Where the place would be if the link were followed; the canary waits there.
        const QString canary =
            file((inside ? targetRoot : targetRoot + placePath.mid(linkPath.size())) + "/canary", 100);
        file(placePath + "/inside", 10);
        const auto makeLink = [&] {
            QVERIFY(!exists(linkPath) || QDir().rename(linkPath, linkPath + ".moved"));
            link(targetRoot, linkPath);
        };
        if (!swapAfterPreview)
            makeLink();
        const CleanPreviewReport report =
            LocalCleanPreview::snapshot(m_home, CleanLocations::linuxDesktop(), {});
        const bool listed = std::any_of(report.entries.begin(), report.entries.end(), [&](const auto& entry) {
            return entry.status == Status::cleanable &&
                   PathText::isAtOrBelow(entry.path, inside ? placePath : linkPath);
        });
        QCOMPARE(listed, inside || swapAfterPreview);
        if (swapAfterPreview)
            makeLink();
        const LocalCleanResult result = clean(report);

        QVERIFY2(exists(canary), qPrintable(canary));
        if (inside) {
            QVERIFY(!exists(linkPath)); // removed as the link it is
            QCOMPARE(result.failedCount, 0);
        } else if (swapAfterPreview) {
            // Either a place around it removed the link as a link, or the link stopped the way and
            // the place is reported as left.
            const bool reported = std::any_of(result.left.begin(), result.left.end(), [&](const auto& left) {
                return left.reason.contains(linkPath);
            });
            QVERIFY(!QFileInfo(linkPath).isSymLink() || reported);
        }
    }

    // A place replaced since the preview, or never previewed, is left as a failure.
    void aPlaceChangedSinceThePreviewIsLeft_data()
    {
        columns<bool>("replaced"); // else: the entry carries no identity at all
        row("replaced by another folder", true);
        row("never previewed", false);
    }
    void aPlaceChangedSinceThePreviewIsLeft()
    {
        const auto [replaced] = fetch<bool>("replaced");
        const QString npm = folder(m_home + "/.npm");
        CleanPreviewReport report = reportOf({npm});
        // The new folder is made before the old one goes, so it cannot take its inode.
        if (replaced)
            QVERIFY(QDir().rename(npm, m_home + "/old-npm") && QDir().mkdir(npm));
        else
            report.entries.front().identity.reset();
        const QString kept = file(npm + "/_cacache/x", 10);
        const LocalCleanResult result = clean(report);
        QVERIFY(exists(kept));
        QCOMPARE(result.failedCount, 1);
        QVERIFY(result.left.front().reason.contains("changed since the preview"));
    }

    // A folder place is emptied and kept, a place that is a file goes as one item, and no link is
    // followed. Each child of a place counts once, even when hidden, and every byte removed counts.
    void deletesTheContentsAndKeepsTheFolder()
    {
        const QString a = file(m_caches + "/a.bin", 8192), b = file(m_caches + "/app/b.bin", 8192);
        const QString hiddenChild = file(m_caches + "/.hidden-cache", 8192);
        const QString npm = file(m_home + "/.npm", 8192);
        const QString hidden = file(m_caches + "/app/.index/hidden.bin", 8192);
        rawFile(m_caches, "caf\xE9"); // names that are not UTF-8
        rawFile(m_caches + "/sub", "\xFF\xFE.bin");
        const QString precious = file(m_box.path("outside/precious/data"), 100);
        link(m_box.path("outside/precious"), m_caches + "/folder-link");
        link(precious, m_caches + "/app/deep/file-link");
        link(m_box.path("outside"), m_caches + "/app/deep/inner/outside-link");
        qint64 bytes = 0;
        for (const QString& path :
             {a, b, hiddenChild, npm, hidden, m_caches + "/folder-link", m_caches + "/app/deep/file-link",
              m_caches + "/app/deep/inner/outside-link"})
            bytes += allocated(path);
        QCOMPARE(clean(reportOf({m_caches, npm})), (LocalCleanResult{7, 0, bytes}));
        QVERIFY(isEmptyFolder(m_caches) && !exists(npm) && exists(precious));
    }

    // A report names places; only the catalogue's own places inside the roots, unprotected, still
    // there and meant to be cleaned are, even when the entry carries the identity of what is there.
    void entriesThatCleanNothing_data()
    {
        columns<QString, QStringList, int>("path", "roots", "status");
        const QStringList home{"home"};
        const int cleanable = int(Status::cleanable);
        row("outside the home", "outside/.cache", home, cleanable);
        row("reached through ..", "home/../outside/.cache", home, cleanable);
        row("a folder of the home that is no place", "home/Documents", home, cleanable);
        row("a place of another home", "outside/.cache", QStringList{"outside"}, cleanable);
        row("a protected place", "home/Library/Mobile Documents", home, cleanable);
        row("a place gone since the preview", "home/Library/Logs", home, cleanable);
        row("an entry not meant to be cleaned", "home/.cache", home, int(Status::skipped));
    }
    void entriesThatCleanNothing()
    {
        auto [path, roots, status] = fetch<QString, QStringList, int>("path", "roots", "status");
        const QStringList places{"outside/.cache", "home/.cache", "home/Documents",
                                 "home/Library/Mobile Documents/com~apple~CloudDocs"};
        for (const QString& place : places)
            file(m_box.path(place + "/item"), 10);
        for (QString& root : roots)
            root = m_box.path(root);
        folder(m_home + "/Library/Logs");
        const CleanPreviewReport report = reportOf({m_box.path(path)}, Status(status));
        QDir(m_home + "/Library/Logs").removeRecursively();
        QCOMPARE(LocalCleanExecutor::clean(report, roots, m_home, {}), LocalCleanResult{});
        for (const QString& place : places)
            QVERIFY(exists(m_box.path(place + "/item")));
    }

    // A running browser's cache stays, with the folders around it; the rest goes, folders left empty as
    // well, and only what went counts. Keeping is no failure. (What the protection list keeps, the
    // protection table of the clean places shows, from the matcher through the clean.)
    void aRunningBrowsersCacheSurvives()
    {
        const QString kept = file(m_caches + "/Google/Chrome/Default/Cache/data_0", 10);
        const QString gone = file(m_caches + "/app/other", 10);
        file(m_caches + "/other/deep/x.bin", 10);
        const LocalCleanResult result =
            clean(reportOf({m_caches}), LocalCleanPreview::runningBrowserPaths(
                                            m_home, CleanLocations::macOS(), {"Google Chrome Helper"}));
        QVERIFY2(exists(kept), qPrintable(kept));
        QVERIFY(!exists(gone) && !exists(m_caches + "/other"));
        // "other" and "app/other", each once: alone, or inside "app" when it went whole.
        QCOMPARE(std::pair(result.removedCount, result.failedCount), std::pair(2, 0));
    }

    // A protection list that exists but cannot be read protects what it protects only once read, and a
    // home that is no usable folder has no places: the clean stops before removing anything.
    void whatStopsTheClean_data()
    {
        columns<QString, QString>("list", "home"); // list: what stands where the list is; empty: nothing
        row("list not UTF-8 on line 2", "latin1", "{home}");
        row("the older tool's list not UTF-8", "legacy", "{home}");
        row("home empty", "", "");
        row("home relative", "", "home");
        row("home is the root folder, spelled otherwise", "", "/./");
        row("home is a link to the root folder", "", "{root-link}");
        row("home missing", "", "{home}/nowhere");
    }
    void whatStopsTheClean()
    {
        auto [list, home] = fetch<QString, QString>("list", "home");
        const QString path = list == "legacy" ? CleanWhitelistStore::legacyConfigURL(m_home)
                                              : CleanWhitelistStore::configURL(m_home);
        folder(QFileInfo(path).path());
        if (list == "latin1" || list == "legacy")
            write(path, "~/Library/Caches/keep\n# caf\xe9\n");
        if (home == "{root-link}")
            home = link("/", m_box.path("root-link"));
        const QString item = file(m_caches + "/keep/x", 10);
        const QString text = failure([&, home = home] {
            LocalCleanExecutor::clean(reportOf({m_caches}), {"/"}, m_box.expand(home), {});
        });
        QVERIFY2(!text.isNull() && (list.isEmpty() || text.contains(path)), qPrintable(text));
        QVERIFY(exists(item));
    }

    // As a user whom the permissions stop (nobody, when the tests run as root).
    void aChildThatCannotBeDeletedCountsAsFailedAndTheRestGoesOn()
    {
        const QString stuck = file(m_caches + "/stuck/inner", 10);
        const qint64 freeBytes = allocated(file(m_caches + "/free", 10));
        const ReadOnly locked(m_caches + "/stuck");
        QVERIFY(asUnprivileged(m_box.path(), [&] {
            const LocalCleanResult result = clean(reportOf({m_caches}));
            return std::tuple(result.removedCount, result.failedCount, result.removedBytes) ==
                       std::tuple(1, 1, freeBytes) &&
                   exists(stuck);
        }));
    }
};

KELVO_REGISTER_TEST(TestSmartClean)
#include "tst_SmartClean.moc"
