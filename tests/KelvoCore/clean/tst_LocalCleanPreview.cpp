// The Smart Clean preview against a synthetic home: what is listed, measured, skipped and summed.
#include "TestMain.h"

#include "Language.h"
#include "SyntheticHome.h"

#include "clean/LocalCleanPreview.h"
#include "platform/FileWalker.h"
#include "vocabulary/SizeText.h"

using namespace SyntheticHome;
using Status = CleanPreviewReport::EntryStatus;
using TestSupport::row;

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

} // namespace

class TestLocalCleanPreview : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;

private slots:
    void init() { m_home = m_box.renew(); }

    void everyGroupInOrder()
    {
        QCOMPARE(*scan(m_home).summary, QString("Potential space: Zero bytes | Items: 0 | Categories: 0"));
        file(m_home + "/Library/Caches/app/cache.db", 4096);
        file(m_home + "/Library/Logs/app.log", 100);
        file(m_home + "/Library/Caches/com.apple.Safari/Cache.db", 100);
        file(m_home + "/.npm/_cacache/index", 100);
        file(m_home + "/Library/Logs/DiagnosticReports/crash.ips", 100);
        file(m_home + "/.Trash/old.txt", 100);
        const CleanPreviewReport report = scan(m_home);
        QStringList sections;
        for (const auto& entry : report.entries)
            if (sections.isEmpty() || sections.last() != entry.section)
                sections << entry.section;
        QCOMPARE(sections, (QStringList{"User essentials", "Browsers", "Developer tools",
                                        "Diagnostics and crash reports", "Trash"}));
        const auto* caches = entryAt(report, m_home + "/Library/Caches");
        QVERIFY(caches && caches->status == Status::cleanable);
        // app, cache.db, the Safari folder and its Cache.db
        QVERIFY2(caches->note->startsWith("User app caches · ") && caches->note->endsWith(", 4 items"),
                 qPrintable(*caches->note));
        const auto* npm = entryAt(report, m_home + "/.npm");
        QVERIFY(npm && npm->note->startsWith("npm cache · "));
        QCOMPARE(npm->identity, std::optional(FileWalker::statItem(m_home + "/.npm")->identity));
        QVERIFY(report.summary->endsWith("| Categories: 5"));
        QVERIFY(report.generatedAt.isValid());
    }

    // The potential space is the notes' sizes read back in binary units, so it reads a little higher.
    void summaryReadsTheNotesBack_data()
    {
        QTest::addColumn<AppLanguagePreference>("language");
        QTest::addColumn<QString>("summary");
        row("english", AppLanguagePreference::english, "Potential space: %1 | Items: 2 | Categories: 1");
        row("chinese", AppLanguagePreference::chinese, "预计可清理：%1 | 项目：2 | 类别：1");
    }
    void summaryReadsTheNotesBack()
    {
        QFETCH(AppLanguagePreference, language);
        QFETCH(QString, summary);
        TestSupport::useLanguage(language);
        file(m_home + "/.Trash/a", 3000);
        file(m_home + "/.Trash/b", 3000);
        // A browser that is running is listed, but adds nothing.
        file(m_home + "/Library/Application Support/Google/Chrome/Default/Code Cache/js/x", 5000);
        const CleanPreviewReport report = scan(m_home, {"Google Chrome"});
        QCOMPARE(report.entries.size(), std::size_t(2));
        const qint64 bytes = *LocalCleanPreview::byteCount(report.entries[1].note);
        QCOMPARE(*report.summary, summary.arg(SizeText::bytesWithDefaultUnits(bytes)));
    }

    void emptyLocations_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<bool>("listed");
        row("empty caches folder is not listed", "Library/Caches", false);
        row("empty browser cache is listed", "Library/Caches/Firefox", true);
    }
    void emptyLocations()
    {
        QFETCH(QString, relativePath);
        QFETCH(bool, listed);
        folder(m_home + "/" + relativePath);
        const CleanPreviewReport report = scan(m_home);
        const auto* entry = entryAt(report, m_home + "/" + relativePath);
        QCOMPARE(entry != nullptr, listed);
        if (entry)
            QCOMPARE(*entry->note, QString("Zero bytes, 0 items"));
    }

    void aSingleFileIsOneItemOfItsAllocatedSize()
    {
        const QString npm = file(m_home + "/.npm", 10000);
        const auto summary = LocalCleanPreview::directorySummary(npm);
        QCOMPARE(summary.items, 1);
        QCOMPARE(summary.bytes, allocated(npm));
        QVERIFY(entryAt(scan(m_home), npm));
    }

    // Links add nothing, packages are one item, and the item cap bounds huge folders.
    void whatAFolderCounts()
    {
        const QString logs = m_home + "/Library/Logs";
        file(m_box.path("outside/big.bin"), 100000);
        file(logs + "/a.log", 10);
        file(logs + "/Old.app/Contents/MacOS/binary", 100);
        link(m_box.path("outside"), logs + "/linked-folder");
        link(m_box.path("outside/big.bin"), logs + "/linked-file");
        const auto summary = LocalCleanPreview::directorySummary(logs);
        QCOMPARE(summary.items, 2);
        QCOMPARE(summary.bytes, allocated(logs + "/a.log"));
        manyFiles(m_home + "/Library/Caches/huge", 25000, 0, 1000);
        QCOMPARE(LocalCleanPreview::directorySummary(m_home + "/Library/Caches").items,
                 LocalCleanPreview::itemCap);
    }

    // A place reached through a link, or that is one, is never measured: it is listed as skipped,
    // saying which link stands in the way, when something is behind it.
    void aLinkAtOrAboveAPlaceIsReported_data()
    {
        QTest::addColumn<QString>("linkAt");
        QTest::addColumn<bool>("somethingBehind");
        row("at the place", "Library/Caches", true);
        row("above the place", "Library", true);
        row("above, nothing behind", "Library", false);
    }
    void aLinkAtOrAboveAPlaceIsReported()
    {
        QFETCH(QString, linkAt);
        QFETCH(bool, somethingBehind);
        const QString outside = folder(m_box.path("outside"));
        if (somethingBehind)
            file(outside + (linkAt == "Library" ? "/Caches/big.bin" : "/big.bin"), 100000);
        link(outside, m_home + "/" + linkAt);
        const CleanPreviewReport report = scan(m_home);
        const auto* entry = entryAt(report, m_home + "/Library/Caches");
        QCOMPARE(entry != nullptr, somethingBehind);
        if (entry) {
            QCOMPARE(entry->status, Status::skipped);
            QVERIFY(entry->note->contains(QString("“%1” is a link").arg(m_home + "/" + linkAt)));
            QVERIFY(!entry->identity);
        }
    }

    void runningBrowsers_data()
    {
        QTest::addColumn<QString>("process");
        QTest::addColumn<bool>("skipped");
        row("browser itself", "Google Chrome", true);
        row("its helper", "Google Chrome Helper", true);
        row("name differs in case", "google chrome", false);
        row("another browser", "Firefox", false);
    }
    void runningBrowsers()
    {
        QFETCH(QString, process);
        QFETCH(bool, skipped);
        const QString chrome = m_home + "/Library/Caches/Google/Chrome";
        file(chrome + "/Cache/data_0", 5000);
        file(m_home + "/Library/Application Support/Google/Chrome/Default/Code Cache/js/x", 5000);
        std::vector<CleanPreviewReport::Entry> browsers;
        for (const auto& entry : scan(m_home, {process}).entries)
            if (entry.section == "Browsers")
                browsers.push_back(entry);
        QCOMPARE(browsers.size(), std::size_t(skipped ? 1 : 2));
        QCOMPARE(browsers[0].status, skipped ? Status::skipped : Status::cleanable);
        QCOMPARE(browsers[0].path,
                 skipped ? QString("Google Chrome is running, cache cleanup skipped") : chrome);
        if (skipped)
            QVERIFY(browsers[0].note->endsWith(", 4 items")); // both paths summed
        else
            QVERIFY(!browsers[0].note->contains(" · "));
    }

    void runningBrowserPaths_data()
    {
        QTest::addColumn<QSet<QString>>("running");
        QTest::addColumn<int>("paths");
        row("nothing running", QSet<QString>{"Finder"}, 0);
        row("chrome helper", QSet<QString>{"Google Chrome Helper"}, 3);
        row("two browsers", QSet<QString>{"Firefox", "Brave Browser"}, 5);
    }
    void runningBrowserPaths()
    {
        QFETCH(QSet<QString>, running);
        QFETCH(int, paths);
        const QStringList found =
            LocalCleanPreview::runningBrowserPaths(m_home, CleanLocations::macOS(), running);
        QCOMPARE(found.size(), paths);
        for (const QString& path : found)
            QVERIFY(path.startsWith(m_home + "/Library/"));
    }

    void byteCount_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<qint64>("bytes"); // -1: none
        row("kilobytes", "User app caches · 12 KB, 3 items", qint64(12 * 1024));
        row("fraction of megabytes", "1.5 MB, 10 items", qint64(1.5 * 1048576));
        row("gigabytes, any case", "2 gb, 1 items", qint64(2) * 1073741824);
        row("terabytes", "1 TB, 1 items", qint64(1099511627776));
        row("bytes", "512 bytes, 1 items", qint64(512));
        row("zero bytes wording", "Zero bytes, 0 items", qint64(-1));
        row("first size wins", "3 KB then 5 MB", qint64(3 * 1024));
        row("truncated towards zero", "1.0009 KB", qint64(1024));
    }
    void byteCount()
    {
        QFETCH(QString, note);
        QFETCH(qint64, bytes);
        QCOMPARE(LocalCleanPreview::byteCount(note).value_or(-1), bytes);
        QVERIFY(!LocalCleanPreview::byteCount(std::nullopt));
    }

    void progressIsReported()
    {
        manyFiles(m_home + "/Library/Caches/x", 3000);
        QStringList locations;
        qint64 lastItems = 0;
        LocalCleanPreview::Options options;
        options.onProgress = [&](const LocalCleanPreview::Progress& progress) {
            locations << progress.location;
            QVERIFY(progress.itemsMeasured >= lastItems);
            lastItems = progress.itemsMeasured;
        };
        const CleanPreviewReport withProgress =
            LocalCleanPreview::snapshot(m_home, CleanLocations::macOS(), {}, options);
        QVERIFY(locations.contains(m_home + "/Library/Caches"));
        QCOMPARE(withProgress.summary, scan(m_home).summary);
    }
};

KELVO_REGISTER_TEST(TestLocalCleanPreview)
#include "tst_LocalCleanPreview.moc"
