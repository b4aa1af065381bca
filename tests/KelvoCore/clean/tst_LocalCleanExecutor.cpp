#include "TestMain.h"

#include "SyntheticHome.h"

#include "clean/CleanLocations.h"
#include "clean/CleanWhitelistStore.h"
#include "clean/LocalCleanExecutor.h"
#include "clean/LocalCleanPreview.h"

using namespace SyntheticHome;
using TestSupport::row;
using Status = CleanPreviewReport::EntryStatus;

namespace {

CleanPreviewReport reportOf(const QStringList& paths, Status status = Status::cleanable)
{
    CleanPreviewReport report;
    for (const QString& path : paths)
        report.entries.push_back({QUuid::createUuid(), "Section", path, std::nullopt, status});
    return report;
}

} // namespace

class TestLocalCleanExecutor : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_home = m_box.renew();
        m_caches = folder(m_home + "/Library/Caches");
    }

    LocalCleanResult clean(const CleanPreviewReport& report)
    {
        return LocalCleanExecutor::clean(report, {m_home}, m_home);
    }

    void deletesTheContentsAndKeepsTheFolder()
    {
        const QString a = file(m_caches + "/a.bin", 8192);
        const QString b = file(m_caches + "/app/data/b.bin", 8192);
        file(m_caches + "/app/.index/hidden.bin", 8192);
        const QString hiddenChild = file(m_caches + "/.hidden-cache", 8192);
        const qint64 counted = allocated(a) + allocated(b) + allocated(hiddenChild);
        const LocalCleanResult result = clean(reportOf({m_caches}));
        QCOMPARE(result.removedCount, 3); // a.bin, app, .hidden-cache
        QCOMPARE(result.failedCount, 0);
        QVERIFY(exists(m_caches));
        QVERIFY(QDir(m_caches).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        // A child is measured as itself; inside a folder, hidden items are deleted but not measured.
        QCOMPARE(result.removedBytes, counted);
    }

    void onlyCleanableEntriesAreTouched_data()
    {
        QTest::addColumn<int>("status");
        QTest::newRow("skipped") << int(Status::skipped);
        QTest::newRow("done") << int(Status::done);
        QTest::newRow("info") << int(Status::info);
        QTest::newRow("detail") << int(Status::detail);
        QTest::newRow("review") << int(Status::review);
        QTest::newRow("summary") << int(Status::summary);
    }
    void onlyCleanableEntriesAreTouched()
    {
        QFETCH(int, status);
        file(m_caches + "/keep", 10);
        QCOMPARE(clean(reportOf({m_caches}, Status(status))), LocalCleanResult{});
        QVERIFY(exists(m_caches + "/keep"));
    }

    void nothingOutsideTheAllowedRoots_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("roots");
        QTest::newRow("outside the home") << "outside/cache" << QStringList{"home"};
        QTest::newRow("reached through ..") << "home/../outside/cache" << QStringList{"home"};
        QTest::newRow("sibling sharing a prefix") << "home2/cache" << QStringList{"home"};
        QTest::newRow("no roots at all") << "home/Library/Caches" << QStringList{};
        QTest::newRow("relative path") << "relative/cache" << QStringList{"home"};
    }
    void nothingOutsideTheAllowedRoots()
    {
        QFETCH(QString, path);
        QFETCH(QStringList, roots);
        for (const char* place : {"outside/cache", "home2/cache", "home/Library/Caches"})
            file(m_box.path(QString(place) + "/item"), 10);
        QStringList absoluteRoots;
        for (const QString& root : roots)
            absoluteRoots << m_box.path(root);
        const QString entryPath = path.startsWith("relative") ? path : m_box.path(path);
        const LocalCleanResult result =
            LocalCleanExecutor::clean(reportOf({entryPath}), absoluteRoots, m_home);
        QCOMPARE(result, LocalCleanResult{});
        for (const char* place : {"outside/cache", "home2/cache", "home/Library/Caches"})
            QVERIFY(exists(m_box.path(QString(place) + "/item")));
    }

    void linksAreRemovedAsLinks()
    {
        const QString precious = file(m_box.path("outside/precious/data"), 100);
        link(m_box.path("outside/precious"), m_caches + "/folder-link");
        link(precious, m_caches + "/file-link");
        link(m_box.path("outside"), m_caches + "/deep/inner-link");
        const LocalCleanResult result = clean(reportOf({m_caches}));
        QCOMPARE(result.failedCount, 0);
        QVERIFY(!exists(m_caches + "/folder-link"));
        QVERIFY(!exists(m_caches + "/file-link"));
        QVERIFY(!exists(m_caches + "/deep"));
        QVERIFY(exists(precious));
    }

    void aLinkStandingForTheLocationIsLeftAlone()
    {
        const QString precious = file(m_box.path("outside/precious/data"), 100);
        const QString logs = link(m_box.path("outside/precious"), m_home + "/Library/Logs");
        QCOMPARE(clean(reportOf({logs})), LocalCleanResult{});
        QVERIFY(QFileInfo(logs).isSymLink());
        QVERIFY(exists(precious));
    }

    void protectedChildrenSurvive_data()
    {
        QTest::addColumn<QString>("protectedChild");
        QTest::addColumn<QString>("listText"); // empty: the default list
        row("default list", "JetBrains/IntelliJ/index", QString());
        row("prefix without separator", "JetBrainsToolbox/x", QString());
        row("finder metadata", ".DS_Store", QString());
        row("user entry with ~", "keep-me/data", "~/Library/Caches/keep-me\n");
        row("user entry with $HOME glob", "build-42/cache", "$HOME/Library/Caches/build-*/cache\n");
        row("protected path deep inside a child", "app/keep/this", "~/Library/Caches/app/keep\n");
    }
    void protectedChildrenSurvive()
    {
        QFETCH(QString, protectedChild);
        QFETCH(QString, listText);
        if (!listText.isEmpty())
            CleanWhitelistStore::save({listText.trimmed().split('\n')}, m_home);
        const QString kept = file(m_caches + "/" + protectedChild, 10);
        const QString gone = file(m_caches + "/app/other", 10);
        const QString alsoGone = file(m_caches + "/plain.bin", 10);
        clean(reportOf({m_caches}));
        QVERIFY2(exists(kept), qPrintable(kept));
        QVERIFY(!exists(gone));
        QVERIFY(!exists(alsoGone));
        QVERIFY(exists(m_caches));
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

    void foldersEmptiedAroundAPatternGo()
    {
        CleanWhitelistStore::save({{"*.sqlite"}}, m_home);
        const QString kept = file(m_caches + "/app/db/store.sqlite", 10);
        file(m_caches + "/app/db/journal", 10);
        file(m_caches + "/other/deep/x.bin", 10);
        clean(reportOf({m_caches}));
        QVERIFY(exists(kept));
        QVERIFY(!exists(m_caches + "/app/db/journal"));
        QVERIFY2(!exists(m_caches + "/other"), "a folder left empty is removed as well");
    }

    void aProtectedLocationIsNotTouched()
    {
        const QString mobile = file(m_home + "/Library/Mobile Documents/com~apple~CloudDocs/file.txt", 10);
        QCOMPARE(clean(reportOf({m_home + "/Library/Mobile Documents"})), LocalCleanResult{});
        QVERIFY(exists(mobile));
    }

    void anUnreadableProtectionListKeepsTheDefaults()
    {
        folder(CleanWhitelistStore::configURL(m_home)); // a folder where the list file should be
        const QString kept = file(m_caches + "/JetBrains/index", 10);
        file(m_caches + "/other", 10);
        const LocalCleanResult result = clean(reportOf({m_caches}));
        QCOMPARE(result.removedCount, 1);
        QVERIFY(exists(kept));
    }

    void aSingleFileEntryIsRemovedAndCounted()
    {
        const QString npm = file(m_home + "/.npm", 8192);
        const qint64 bytes = allocated(npm);
        QCOMPARE(clean(reportOf({npm})), (LocalCleanResult{1, 0, bytes}));
        QVERIFY(!exists(npm));
    }

    void aVanishedEntryIsSkipped()
    {
        QCOMPARE(clean(reportOf({m_home + "/Library/Logs"})), LocalCleanResult{});
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
        const CleanPreviewReport preview = LocalCleanPreview::snapshot(m_home, CleanLocations::macOS(), {});
        const LocalCleanResult result = clean(preview);
        QCOMPARE(result.removedCount, 2);
        const CleanPreviewReport after = LocalCleanPreview::snapshot(m_home, CleanLocations::macOS(), {});
        QVERIFY(after.entries.empty());
    }

private:
    Sandbox m_box;
    QString m_home;
    QString m_caches;
};

KELVO_REGISTER_TEST(TestLocalCleanExecutor)
#include "tst_LocalCleanExecutor.moc"
