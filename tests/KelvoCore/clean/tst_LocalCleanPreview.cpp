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

private slots:
    void init() { m_home = m_box.renew(); }

    void anEmptyHomeHasNothingToClean()
    {
        const CleanPreviewReport report = scan(m_home);
        QVERIFY(report.entries.empty());
        QCOMPARE(*report.summary, QString("Potential space: Zero bytes | Items: 0 | Categories: 0"));
        QVERIFY(report.generatedAt.isValid());
    }

    void everyGroupInOrder()
    {
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
        QVERIFY(caches);
        QCOMPARE(caches->status, Status::cleanable);
        QVERIFY2(caches->note->startsWith("User app caches · "), qPrintable(*caches->note));
        QVERIFY2(caches->note->endsWith(", 4 items"),
                 qPrintable(*caches->note)); // app, cache.db, Safari folder, Cache.db
        const auto* npm = entryAt(report, m_home + "/.npm");
        QVERIFY(npm);
        QVERIFY(npm->note->startsWith("npm cache · "));
        QVERIFY(report.summary->endsWith("| Categories: 5"));
    }

    void chineseTexts()
    {
        TestSupport::useLanguage(AppLanguagePreference::chinese);
        file(m_home + "/.Trash/old.txt", 100);
        const CleanPreviewReport report = scan(m_home);
        QCOMPARE(report.entries.size(), std::size_t(1));
        QCOMPARE(report.entries[0].section, QString("废纸篓"));
        QVERIFY2(report.entries[0].note->startsWith("用户废纸篓 · "), qPrintable(*report.entries[0].note));
        QVERIFY2(report.entries[0].note->endsWith(", 1 项"), qPrintable(*report.entries[0].note));
        QVERIFY2(report.summary->startsWith("预计可清理："), qPrintable(*report.summary));
        QVERIFY(report.summary->endsWith(" | 项目：1 | 类别：1"));
    }

    void emptyLocations_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<bool>("listed");
        QTest::newRow("empty caches folder is not listed") << "Library/Caches" << false;
        QTest::newRow("empty browser cache is listed") << "Library/Caches/Firefox" << true;
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

    void linksAddNothing()
    {
        const QString outside = file(m_box.path("outside/big.bin"), 100000);
        file(m_home + "/Library/Logs/a.log", 10);
        link(m_box.path("outside"), m_home + "/Library/Logs/linked-folder");
        link(outside, m_home + "/Library/Logs/linked-file");
        const auto summary = LocalCleanPreview::directorySummary(m_home + "/Library/Logs");
        QCOMPARE(summary.items, 1);
        QCOMPARE(summary.bytes, allocated(m_home + "/Library/Logs/a.log"));
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
            QCOMPARE(entry->status, CleanPreviewReport::EntryStatus::skipped);
            QVERIFY(entry->note->contains(QString("“%1” is a link").arg(m_home + "/" + linkAt)));
            QVERIFY(!entry->identity);
        }
    }

    void theIdentityOfEachPlaceIsRecorded()
    {
        file(m_home + "/.npm/_cacache/x", 10);
        const CleanPreviewReport report = scan(m_home);
        const auto* entry = entryAt(report, m_home + "/.npm");
        QVERIFY(entry);
        QCOMPARE(entry->identity, std::optional(FileWalker::statItem(m_home + "/.npm")->identity));
    }

    void packagesAreMeasuredWithoutEnteringThem()
    {
        file(m_home + "/Library/Caches/Old.app/Contents/MacOS/binary", 100);
        const auto summary = LocalCleanPreview::directorySummary(m_home + "/Library/Caches");
        QCOMPARE(summary.items, 1); // the package folder itself
    }

    void theItemCapBoundsHugeFolders()
    {
        manyFiles(m_home + "/Library/Caches/huge", 25000, 0, 1000);
        const auto summary = LocalCleanPreview::directorySummary(m_home + "/Library/Caches");
        QCOMPARE(summary.items, LocalCleanPreview::itemCap);
    }

    void runningBrowsers_data()
    {
        QTest::addColumn<QString>("process");
        QTest::addColumn<bool>("skipped");
        QTest::newRow("browser itself") << "Google Chrome" << true;
        QTest::newRow("its helper") << "Google Chrome Helper" << true;
        QTest::newRow("name differs in case") << "google chrome" << false;
        QTest::newRow("another browser") << "Firefox" << false;
    }
    void runningBrowsers()
    {
        QFETCH(QString, process);
        QFETCH(bool, skipped);
        const QString chrome = m_home + "/Library/Caches/Google/Chrome";
        file(chrome + "/Cache/data_0", 5000);
        file(m_home + "/Library/Application Support/Google/Chrome/Default/Code Cache/js/x", 5000);
        const CleanPreviewReport report = scan(m_home, {process});
        std::vector<const CleanPreviewReport::Entry*> browserEntries;
        for (const auto& entry : report.entries)
            if (entry.section == "Browsers")
                browserEntries.push_back(&entry);
        if (skipped) {
            QCOMPARE(browserEntries.size(), std::size_t(1));
            QCOMPARE(browserEntries[0]->status, Status::skipped);
            QCOMPARE(browserEntries[0]->path, QString("Google Chrome is running, cache cleanup skipped"));
            QVERIFY(browserEntries[0]->note->endsWith(", 4 items")); // both paths summed
        } else {
            QCOMPARE(browserEntries.size(), std::size_t(2));
            QCOMPARE(browserEntries[0]->path, chrome);
            QCOMPARE(browserEntries[0]->status, Status::cleanable);
            QVERIFY(!browserEntries[0]->note->contains(" · "));
        }
    }

    void runningBrowserPaths_data()
    {
        QTest::addColumn<QSet<QString>>("running");
        QTest::addColumn<int>("paths");
        QTest::newRow("nothing running") << QSet<QString>{} << 0;
        QTest::newRow("safari") << QSet<QString>{"Safari"} << 1;
        QTest::newRow("chrome helper") << QSet<QString>{"Google Chrome Helper"} << 3;
        QTest::newRow("two browsers") << QSet<QString>{"Firefox", "Brave Browser"} << 5;
        QTest::newRow("unrelated process") << QSet<QString>{"Finder"} << 0;
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

    void aSkippedBrowserAddsNothingToTheSummary()
    {
        file(m_home + "/Library/Application Support/Google/Chrome/Default/Code Cache/js/x", 5000);
        const CleanPreviewReport report = scan(m_home, {"Google Chrome"});
        QCOMPARE(report.entries.size(), std::size_t(1));
        QCOMPARE(*report.summary, QString("Potential space: Zero bytes | Items: 0 | Categories: 0"));
    }

    void summaryReadsTheNotesBack()
    {
        file(m_home + "/.Trash/a", 3000);
        file(m_home + "/.Trash/b", 3000);
        const CleanPreviewReport report = scan(m_home);
        // The potential space is the note's size read back in binary units, so it reads a little higher.
        const qint64 bytes = *LocalCleanPreview::byteCount(report.entries[0].note);
        QCOMPARE(*report.summary, QString("Potential space: %1 | Items: 2 | Categories: 1")
                                      .arg(SizeText::bytesWithDefaultUnits(bytes)));
    }

    void byteCount_data()
    {
        QTest::addColumn<QString>("note");
        QTest::addColumn<qint64>("bytes"); // -1: none
        QTest::newRow("kilobytes") << "User app caches · 12 KB, 3 items" << qint64(12 * 1024);
        QTest::newRow("fraction of megabytes") << "1.5 MB, 10 items" << qint64(1.5 * 1048576);
        QTest::newRow("gigabytes, any case") << "2 gb, 1 items" << qint64(2) * 1073741824;
        QTest::newRow("terabytes") << "1 TB, 1 items" << qint64(1099511627776);
        QTest::newRow("bytes") << "512 bytes, 1 items" << qint64(512);
        QTest::newRow("zero bytes wording") << "Zero bytes, 0 items" << qint64(-1);
        QTest::newRow("no size") << "running" << qint64(-1);
        QTest::newRow("first size wins") << "3 KB then 5 MB" << qint64(3 * 1024);
        QTest::newRow("truncated towards zero") << "1.0009 KB" << qint64(1024);
    }
    void byteCount()
    {
        QFETCH(QString, note);
        QFETCH(qint64, bytes);
        const std::optional<qint64> parsed = LocalCleanPreview::byteCount(note);
        QCOMPARE(parsed.value_or(-1), bytes);
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
        const CleanPreviewReport without = scan(m_home);
        QCOMPARE(withProgress.entries.size(), without.entries.size());
        QCOMPARE(withProgress.summary, without.summary);
    }

private:
    Sandbox m_box;
    QString m_home;
};

KELVO_REGISTER_TEST(TestLocalCleanPreview)
#include "tst_LocalCleanPreview.moc"
