// The real Smart Clean against a synthetic home: what goes, what stays, and that nothing outside the
// home folder is ever reached.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "clean/CleanLocations.h"
#include "clean/CleanWhitelistStore.h"
#include "clean/LocalCleanExecutor.h"
#include "clean/LocalCleanPreview.h"
#include "platform/FileWalker.h"
#include "vocabulary/KelvoError.h"

#include <sys/stat.h>

using namespace SyntheticHome;
using TestSupport::row;
using Status = CleanPreviewReport::EntryStatus;

namespace {

// Entries as a preview makes them, each with the identity of what is at its path now.
CleanPreviewReport reportOf(const QStringList& paths, Status status = Status::cleanable)
{
    CleanPreviewReport report;
    for (const QString& path : paths) {
        const std::optional<FileWalker::Item> item = FileWalker::statItem(path);
        report.entries.push_back({QUuid::createUuid(), "Section", path, std::nullopt, status,
                                  item ? std::optional(item->identity) : std::nullopt});
    }
    return report;
}

bool listsAsCleanable(const CleanPreviewReport& report, const QString& pathStart)
{
    return std::any_of(report.entries.begin(), report.entries.end(), [&](const auto& entry) {
        return entry.status == Status::cleanable && entry.path.startsWith(pathStart);
    });
}

} // namespace

class TestLocalCleanExecutor : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;
    QString m_caches;

    // Nothing counts as running, so no process listing is asked.
    LocalCleanResult clean(const CleanPreviewReport& report)
    {
        return LocalCleanExecutor::clean(report, {m_home}, m_home, {});
    }
    CleanPreviewReport preview(const CleanCatalogue& catalogue = CleanLocations::linuxDesktop()) const
    {
        return LocalCleanPreview::snapshot(m_home, catalogue, {});
    }

private slots:
    void init()
    {
        m_home = m_box.renew();
        m_caches = folder(m_home + "/Library/Caches");
    }

    // Every family of places, with a link above the place, at it or inside it, leading out of the
    // home folder or back to the home folder itself; made before the preview, or swapped in between
    // the preview and the clean. What the link leads to is never touched.
    void neverLeavesTheHomeThroughALink_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("linkAt");
        QTest::addColumn<QString>("target"); // "outside" or "home"
        QTest::addColumn<bool>("swapAfterPreview");
        const QList<std::pair<const char*, const char*>> links{
            {".cache", ".cache"},
            {".cache", ".cache/sub"},
            {".cache/mozilla/firefox", ".cache/mozilla"},
            {".cache/mozilla/firefox", ".cache"},
            {".config/google-chrome/Default/Code Cache", ".config/google-chrome"},
            {".config/google-chrome/Default/Code Cache", ".config"},
            {".cargo/registry/cache", ".cargo/registry"},
            {".cargo/registry/cache", ".cargo"},
            {".npm", ".npm"},
            {".local/share/Trash", ".local/share"},
            {".local/share/Trash", ".local/share/Trash"},
            {".local/share/Trash", ".local/share/Trash/files"},
        };
        for (const auto& [place, linkAt] : links)
            for (const char* target : {"outside", "home"})
                for (bool swap : {false, true})
                    QTest::addRow("%s at %s to %s%s", place, linkAt, target, swap ? ", swapped in" : "")
                        << QString(place) << QString(linkAt) << QString(target) << swap;
    }
    void neverLeavesTheHomeThroughALink()
    {
        QFETCH(QString, place);
        QFETCH(QString, linkAt);
        QFETCH(QString, target);
        QFETCH(bool, swapAfterPreview);
        const QString placePath = m_home + "/" + place;
        const QString linkPath = m_home + "/" + linkAt;
        const bool inside = linkAt.startsWith(place + "/");
        const QString targetRoot = target == "home" ? m_home : folder(m_box.path("outside"));
        // Where the place would be if the link were followed; the canary waits there.
        const QString resolved = inside ? targetRoot : targetRoot + placePath.mid(linkPath.size());
        const QString canary = file(resolved + "/canary", 100);
        file(placePath + "/inside", 10);
        const auto makeLink = [&] {
            if (exists(linkPath))
                QVERIFY(QDir().rename(linkPath, linkPath + ".moved"));
            link(targetRoot, linkPath);
        };

        if (!swapAfterPreview)
            makeLink();
        const CleanPreviewReport report = preview();
        QCOMPARE(listsAsCleanable(report, inside ? placePath : linkPath), inside || swapAfterPreview);
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

    void aPlaceChangedSinceThePreviewIsLeft_data()
    {
        QTest::addColumn<bool>("replaced"); // else: the entry carries no identity at all
        row("replaced by another folder", true);
        row("never previewed", false);
    }
    void aPlaceChangedSinceThePreviewIsLeft()
    {
        QFETCH(bool, replaced);
        const QString npm = folder(m_home + "/.npm");
        CleanPreviewReport report = reportOf({npm});
        if (replaced) {
            // The new folder is made before the old one goes, so it cannot take its inode.
            QVERIFY(QDir().rename(npm, m_home + "/old-npm"));
            QVERIFY(QDir().mkdir(npm));
        } else {
            report.entries.front().identity.reset();
        }
        const QString kept = file(npm + "/_cacache/x", 10);
        const LocalCleanResult result = clean(report);
        QVERIFY(exists(kept));
        QCOMPARE(result.failedCount, 1);
        QVERIFY(result.left.front().reason.contains("changed since the preview"));
    }

    // Inside a place hidden items go uncounted; a child of the place counts even when hidden. A place
    // that is a file goes as one item.
    void deletesTheContentsAndKeepsTheFolder()
    {
        const QString a = file(m_caches + "/a.bin", 8192);
        const QString b = file(m_caches + "/app/data/b.bin", 8192);
        file(m_caches + "/app/.index/hidden.bin", 8192);
        const QString hiddenChild = file(m_caches + "/.hidden-cache", 8192);
        const QString npm = file(m_home + "/.npm", 8192);
        const qint64 counted = allocated(a) + allocated(b) + allocated(hiddenChild) + allocated(npm);
        QCOMPARE(clean(reportOf({m_caches, npm})), (LocalCleanResult{4, 0, counted}));
        QVERIFY(QDir(m_caches).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        QVERIFY(!exists(npm));
    }

    // A report names places; only the catalogue's own places inside the roots, unprotected, still
    // there and meant to be cleaned are, even when the entry carries the identity of what is there.
    void entriesThatCleanNothing_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("roots");
        QTest::addColumn<int>("status");
        const QStringList home{"home"};
        const int cleanable = int(Status::cleanable);
        row("outside the home", "outside/.cache", home, cleanable);
        row("reached through ..", "home/../outside/.cache", home, cleanable);
        row("sibling sharing a prefix", "home2/.cache", home, cleanable);
        row("a folder of the home that is no place", "home/Documents", home, cleanable);
        row("the home folder itself", "home", home, cleanable);
        row("no roots at all", "home/.cache", QStringList{}, cleanable);
        row("a place of another home", "outside/.cache", QStringList{"outside"}, cleanable);
        row("a protected place", "home/Library/Mobile Documents", home, cleanable);
        row("a place gone since the preview", "home/Library/Logs", home, cleanable);
        for (Status status :
             {Status::skipped, Status::done, Status::info, Status::detail, Status::review, Status::summary})
            QTest::addRow("status %s", qPrintable(CleanPreviewReport::rawValue(status)))
                << "home/.cache" << home << int(status);
    }
    void entriesThatCleanNothing()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, roots);
        QFETCH(int, status);
        const QStringList places{"outside/.cache", "home2/.cache", "home/.cache", "home/Documents",
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

    void protectedChildrenSurvive_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("protectedChild");
        QTest::addColumn<QString>("listText"); // empty: the default list
        row("default list", "Library/Caches", "JetBrains/IntelliJ/index", QString());
        row("prefix without separator", "Library/Caches", "JetBrainsToolbox/x", QString());
        row("finder metadata", "Library/Caches", ".DS_Store", QString());
        row("finder metadata inside a child folder", "Library/Caches", "app/.DS_Store", QString());
        row("user entry with ~", "Library/Caches", "keep-me/data", "~/Library/Caches/keep-me\n");
        row("user entry with a trailing separator", "Library/Caches", "keep-me/data",
            "~/Library/Caches/keep-me/\n");
        row("user entry with braces", "Library/Caches", "keep-me/data", "${HOME}//Library/Caches/keep-me\n");
        row("user entry with $HOME glob", "Library/Caches", "build-42/cache",
            "$HOME/Library/Caches/build-*/cache\n");
        row("protected path deep inside a child", "Library/Caches", "app/keep/this",
            "~/Library/Caches/app/keep\n");
        row("a name with a line break", "Library/Caches", "app/a\nb/keep", "~/Library/Caches/app/*/keep\n");
        row("a pattern for any path", "Library/Caches", "app/db/store.sqlite", "*.sqlite\n");
#ifndef Q_OS_MACOS
        row("linux default: JetBrains", ".cache", "JetBrains/IntelliJIdea/index", QString());
        row("linux default: playwright", ".cache", "ms-playwright/chromium-1/chrome", QString());
        row("linux default: poetry", ".cache", "pypoetry/virtualenvs/app/bin/python", QString());
#endif
    }
    void protectedChildrenSurvive()
    {
        QFETCH(QString, place);
        QFETCH(QString, protectedChild);
        QFETCH(QString, listText);
        if (!listText.isEmpty())
            CleanWhitelistStore::save({listText.trimmed().split('\n')}, m_home);
        const QString placePath = m_home + "/" + place;
        const QString kept = file(placePath + "/" + protectedChild, 10);
        const QString gone = file(placePath + "/app/other", 10);
        file(placePath + "/other/deep/x.bin", 10);
        const LocalCleanResult result = clean(reportOf({placePath}));
        QVERIFY2(exists(kept), qPrintable(kept));
        QVERIFY(!exists(gone));
        QVERIFY2(!exists(placePath + "/other"), "a folder left empty goes as well");
        QCOMPARE(result.failedCount, 0); // keeping is no failure
    }

    // A list that exists but cannot be read protects what it protects only once read: the clean
    // stops before removing anything and says which file and why.
    void anUnreadableProtectionListStopsTheClean_data()
    {
        QTest::addColumn<QString>("kind");
        row("not UTF-8 on line 2", "latin1");
        row("the older tool's list not UTF-8", "legacy");
        row("a folder", "folder");
        row("a FIFO", "fifo");
        row("a link to /dev/zero", "zero");
        row("larger than 1 MB", "huge");
    }
    void anUnreadableProtectionListStopsTheClean()
    {
        QFETCH(QString, kind);
        const QString list = kind == "legacy" ? CleanWhitelistStore::legacyConfigURL(m_home)
                                              : CleanWhitelistStore::configURL(m_home);
        folder(QFileInfo(list).path());
        if (kind == "latin1" || kind == "legacy")
            write(list, "~/Library/Caches/keep\n# caf\xe9\n");
        else if (kind == "folder")
            folder(list);
        else if (kind == "fifo")
            QVERIFY(mkfifo(QFile::encodeName(list).constData(), 0600) == 0);
        else if (kind == "zero")
            link("/dev/zero", list);
        else
            write(list, QByteArray(2 * 1024 * 1024, '#'));
        const QString item = file(m_caches + "/keep/x", 10);
        const CleanPreviewReport report = reportOf({m_caches});
        try {
            clean(report);
            QFAIL("the clean went on without the list");
        } catch (const KelvoError& error) {
            QVERIFY2(error.description().contains(list), qPrintable(error.description()));
            QVERIFY(error.description().startsWith("Smart Clean stopped before removing anything."));
        }
        QVERIFY(exists(item));
    }

    void anUnusableHomeStopsTheClean_data()
    {
        QTest::addColumn<QString>("home");
        row("empty", "");
        row("relative", "home");
        row("the root folder", "/");
        row("the root folder, spelled otherwise", "/./");
        row("a link to the root folder", "{root-link}");
        row("missing", "{sandbox}/nowhere");
    }
    void anUnusableHomeStopsTheClean()
    {
        QFETCH(QString, home);
        home.replace("{root-link}", link("/", m_box.path("root-link"))).replace("{sandbox}", m_box.path());
        const QString item = file(m_home + "/.npm/x", 10);
        QVERIFY_THROWS_EXCEPTION(KelvoError,
                                 LocalCleanExecutor::clean(reportOf({m_home + "/.npm"}), {"/"}, home, {}));
        QVERIFY(exists(item));
    }

    void aRunningBrowsersCacheInsideACleanedLocationStays()
    {
        const QString chrome = file(m_caches + "/Google/Chrome/Default/Cache/data_0", 10);
        const QString other = file(m_caches + "/Google/Other/x", 10);
        const QStringList keep =
            LocalCleanPreview::runningBrowserPaths(m_home, CleanLocations::macOS(), {"Google Chrome Helper"});
        LocalCleanExecutor::clean(reportOf({m_caches}), {m_home}, m_home, keep);
        QVERIFY(exists(chrome));
        QVERIFY(!exists(other));
    }

    void aChildThatCannotBeDeletedCountsAsFailedAndTheRestGoesOn()
    {
        KELVO_SKIP_AS_ROOT();
        const QString stuck = file(m_caches + "/stuck/inner", 10);
        const QString free = file(m_caches + "/free", 10);
        const qint64 freeBytes = allocated(free);
        const ReadOnly locked(m_caches + "/stuck");
        const LocalCleanResult result = clean(reportOf({m_caches}));
        QCOMPARE(result.failedCount, 1);
        QCOMPARE(result.removedCount, 1);
        QCOMPARE(result.removedBytes, freeBytes);
        QVERIFY(exists(stuck));
    }

    void cleansWhatThePreviewFound()
    {
        file(m_caches + "/a/b", 4096);
        file(m_home + "/.Trash/old.dmg", 4096);
        const LocalCleanResult result = clean(preview(CleanLocations::macOS()));
        QCOMPARE(result.removedCount, 2);
        QVERIFY(preview(CleanLocations::macOS()).entries.empty());
    }
};

KELVO_REGISTER_TEST(TestLocalCleanExecutor)
#include "tst_LocalCleanExecutor.moc"
