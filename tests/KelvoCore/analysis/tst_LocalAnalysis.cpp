#include "TestMain.h"

#include "SyntheticHome.h"

#include "analysis/LocalAnalysis.h"
#include "status/SystemReportParser.h"
#include "vocabulary/KelvoError.h"

#include <QJsonDocument>

using namespace SyntheticHome;

namespace {

QStringList names(const std::vector<AnalysisReport::Entry>& entries)
{
    QStringList list;
    for (const auto& entry : entries)
        list << entry.name.value_or("?");
    return list;
}

const AnalysisReport::Entry* named(const std::vector<AnalysisReport::Entry>& entries, const QString& name)
{
    for (const auto& entry : entries)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

} // namespace

class TestLocalAnalysis : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_home = m_box.renew();
        m_root = folder(m_box.path("root"));
    }

    void sizesAreAttributedToTopLevelChildren()
    {
        file(m_root + "/Music/a/b/song.flac", 30000);
        file(m_root + "/Music/cover.jpg", 1000);
        file(m_root + "/notes.txt", 500);
        folder(m_root + "/Empty");
        file(m_root + "/zero.bin", 0);
        const AnalysisReport report = LocalAnalysis::snapshot(m_root, m_home);
        QCOMPARE(report.path, m_root);
        QCOMPARE(report.overview, false);
        QCOMPARE(names(report.entries).mid(0, 2), (QStringList{"Music", "notes.txt"}));
        QCOMPARE(named(report.entries, "Music")->size, 31000);
        QCOMPARE(named(report.entries, "Music")->isDirectory, true);
        QCOMPARE(named(report.entries, "Empty")->size, 0); // listed even when empty
        QCOMPARE(named(report.entries, "zero.bin")->size, 0);
        QCOMPARE(report.totalSize, 31500);
        QCOMPARE(report.totalFiles, 4);
        QCOMPARE(report.largeFiles.front().path, m_root + "/Music/a/b/song.flac");
        QCOMPARE(report.largeFiles.front().isDirectory, false);
    }

    void hiddenItemsAreNeitherListedNorCounted()
    {
        file(m_root + "/.hidden-file", 5000);
        file(m_root + "/.git/objects/pack", 5000);
        file(m_root + "/src/.cache/blob", 5000);
        file(m_root + "/src/main.cpp", 100);
        const AnalysisReport report = LocalAnalysis::snapshot(m_root, m_home);
        QCOMPARE(names(report.entries), QStringList{"src"});
        QCOMPARE(report.totalSize, 100);
        QCOMPARE(report.totalFiles, 1);
    }

    void packagesCountAsOneItem_data()
    {
        QTest::addColumn<QString>("bundle");
        QTest::addColumn<bool>("package");
        QTest::newRow("application") << "Tool.app" << true;
        QTest::newRow("extension in any case") << "Tool.APP" << true;
        QTest::newRow("framework") << "Kit.framework" << true;
        QTest::newRow("archive") << "Build.xcarchive" << true;
        QTest::newRow("plug-in is walked") << "Filter.plugin" << false;
    }
    void packagesCountAsOneItem()
    {
        QFETCH(QString, bundle);
        QFETCH(bool, package);
        file(m_root + "/Apps/deep/" + bundle + "/Contents/MacOS/binary", 40000);
        file(m_root + "/Apps/deep/" + bundle + "/Contents/Info.plist", 1000);
        const AnalysisReport report = LocalAnalysis::snapshot(m_root, m_home);
        QCOMPARE(named(report.entries, "Apps")->size, 41000);
        QCOMPARE(report.totalSize, 41000);
        QCOMPARE(report.totalFiles, 2);
        QCOMPARE(report.largeFiles.empty(), package);
    }

    void theHomeFolderLeavesPersonalFoldersOut_data()
    {
        QTest::addColumn<bool>("analyseHome");
        QTest::newRow("home itself") << true;
        QTest::newRow("another folder") << false;
    }
    void theHomeFolderLeavesPersonalFoldersOut()
    {
        QFETCH(bool, analyseHome);
        const QString root = analyseHome ? m_home : m_root;
        for (const char* personal : {"Desktop", "Documents", "Downloads", "Library/Mobile Documents"})
            file(root + "/" + personal + "/private.bin", 7000);
        file(root + "/Library/Caches/c.bin", 100);
        const AnalysisReport report = LocalAnalysis::snapshot(root + "/", m_home); // trailing separator
        QCOMPARE(report.path, root + "/");
        QCOMPARE(named(report.entries, "Desktop") == nullptr, analyseHome);
        QCOMPARE(report.totalSize, analyseHome ? 100 : 4 * 7000 + 100);
        QCOMPARE(named(report.entries, "Library")->size, analyseHome ? 100 : 7100);
    }

    void theListsKeepTheLargestEighty()
    {
        for (int i = 1; i <= 100; ++i)
            file(QString("%1/child%2/f.bin").arg(m_root).arg(i), i * 10);
        const AnalysisReport report = LocalAnalysis::snapshot(m_root, m_home);
        QCOMPARE(report.entries.size(), std::size_t(80));
        QCOMPARE(report.entries.front().size, 1000);
        QCOMPARE(report.entries.back().size, 210);
        QCOMPARE(report.largeFiles.size(), std::size_t(80));
        QCOMPARE(report.largeFiles.back().size, 210);
        QCOMPARE(report.totalFiles, 100);
    }

    void linksAndMissingRoots()
    {
        file(m_box.path("outside/big.bin"), 90000);
        link(m_box.path("outside"), m_root + "/shortcut");
        file(m_root + "/real.bin", 10);
        QCOMPARE(LocalAnalysis::snapshot(m_root, m_home).totalSize, 10);

        const AnalysisReport missing = LocalAnalysis::snapshot(m_box.path("nowhere"), m_home);
        QCOMPARE(missing.path, m_box.path("nowhere"));
        QVERIFY(missing.entries.empty() && missing.largeFiles.empty());
        QCOMPARE(missing.totalSize, 0);
        QCOMPARE(missing.totalFiles, 0);
    }

    // Sparse files may claim more than the 64-bit range together: the sums stay at the largest count.
    void sizesSaturateInsteadOfWrapping()
    {
        QTemporaryDir memory(QStringLiteral("/dev/shm/kelvo-analysis-XXXXXX"));
        if (!memory.isValid())
            QSKIP("no memory file system here to hold exabyte sparse files");
        for (const char* name : {"a/one", "a/two", "b"}) {
            QFile sparse(file(memory.filePath(name), 0));
            if (!sparse.open(QIODevice::ReadWrite) || !sparse.resize(qint64(6) << 60))
                QSKIP("this file system cannot hold exabyte sparse files");
        }
        const AnalysisReport report = LocalAnalysis::snapshot(memory.path(), m_home);
        const qint64 most = std::numeric_limits<qint64>::max();
        QCOMPARE(report.totalSize, most);
        QCOMPARE(named(report.entries, "a")->size, most);
        QCOMPARE(named(report.entries, "b")->size, qint64(6) << 60);
    }

    void aRootGivenWithDotDotIsStandardised()
    {
        file(m_root + "/Music/song.flac", 300);
        const QString roundabout = m_root + "/Projects/../Music/";
        const AnalysisReport report = LocalAnalysis::snapshot(roundabout, m_home);
        QCOMPARE(report.path, roundabout);
        QCOMPARE(report.totalSize, 300);
    }

    void cancellingStopsTheWalk()
    {
        manyFiles(m_root + "/d", 50, 10);
        std::atomic_bool cancelled = true;
        LocalAnalysis::Options options;
        options.cancelled = &cancelled;
        QVERIFY(LocalAnalysis::snapshot(m_root, m_home, options).totalFiles < 50);
    }

    void jsonRoundTripAndDefaults()
    {
        file(m_root + "/a/b.bin", 10);
        const AnalysisReport report = LocalAnalysis::snapshot(m_root, m_home);
        QCOMPARE(SystemReportParser::parseAnalysis(QJsonDocument(report.toJson()).toJson()), report);

        const AnalysisReport sparse = SystemReportParser::parseAnalysis(R"({"entries": [{"size": 5}]})");
        QVERIFY(sparse.largeFiles.empty());
        QVERIFY(!sparse.totalSize && !sparse.totalFiles && !sparse.path);
        QCOMPARE(sparse.entries.size(), std::size_t(1));
        QVERIFY(sparse.entries[0].id() !=
                sparse.entries[0].id()); // no path or name: a new identity each time
        QVERIFY_THROWS_EXCEPTION(KelvoError, SystemReportParser::parseAnalysis("[1, 2]"));
        QVERIFY_THROWS_EXCEPTION(KelvoError, SystemReportParser::parseAnalysis("{broken"));
    }

private:
    Sandbox m_box;
    QString m_home;
    QString m_root;
};

KELVO_REGISTER_TEST(TestLocalAnalysis)
#include "tst_LocalAnalysis.moc"
