// The storage analysis against a synthetic folder: what each top-level child weighs, what is left
// out, and the report's JSON form.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "analysis/LocalAnalysis.h"
#include "platform/ScanPathGuard.h"
#include "platform/Trash.h"
#include "status/SystemReportParser.h"
#include "vocabulary/KelvoError.h"

#include <QJsonDocument>
#include <QScopeGuard>

#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace SyntheticHome;
using namespace TestSupport;

namespace {

const AnalysisReport::Entry* named(const std::vector<AnalysisReport::Entry>& entries, const QString& name)
{
    for (const auto& entry : entries)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

// A file's bytes by the bytes of its path; null when it cannot be read.
QByteArray readRaw(const QByteArray& path)
{
    QByteArray data(4096, '\0');
    const int fd = ::open(path.constData(), O_RDONLY);
    const ssize_t length = fd >= 0 ? ::read(fd, data.data(), data.size()) : -1;
    ::close(fd);
    return length >= 0 ? data.left(length) : QByteArray();
}

} // namespace

class TestLocalAnalysis : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_home;
    QString m_root;

private slots:
    void init()
    {
        m_home = m_box.renew();
        m_root = folder(m_box.path("root"));
    }

    // Hidden items are neither listed nor counted, links not followed, a package is one item; children
    // of equal size in natural order.
    void sizesAreAttributedToTopLevelChildren()
    {
        const std::map<QString, int> files{{"Music/a/b/song.flac", 30000},
                                           {"Music/cover.jpg", 1000},
                                           {"notes.txt", 500},
                                           {"item10/a", 400},
                                           {"item10/b", 100},
                                           {"Item2/c", 300},
                                           {"Item2/d", 200},
                                           {".hidden-file", 5000},
                                           {"Music/.cache/blob", 5000},
                                           {"Apps/deep/Tool.APP/Contents/MacOS/binary", 4000},
                                           {"Apps/deep/Filter.plugin/Contents/MacOS/binary", 2000}};
        for (const auto& [path, size] : files)
            file(m_root + "/" + path, size);
        folder(m_root + "/Empty");
        link(file(m_box.path("outside/big.bin"), 90000), m_root + "/shortcut");
        const AnalysisReport report = LocalAnalysis::snapshot(m_root, m_home);
        QVERIFY(report.path == m_root && report.overview == false);
        QStringList names;
        for (const auto& entry : report.entries)
            names << entry.name.value_or("?") + "=" + QString::number(entry.size.value_or(-1));
        QCOMPARE(names, (QStringList{"Music=31000", "Apps=6000", "Item2=500", "item10=500", "notes.txt=500",
                                     "Empty=0", "shortcut=0"}));
        QCOMPARE(named(report.entries, "Music")->isDirectory, true);
        QVERIFY(report.totalSize == 38500 && report.totalFiles == 9);
        // The application's file is inside a package, so it is no large file of its own.
        QCOMPARE(relative(m_root, report.largeFiles),
                 (QStringList{"Music/a/b/song.flac", "Apps/deep/Filter.plugin/Contents/MacOS/binary",
                              "Music/cover.jpg", "notes.txt", "item10/a", "Item2/c", "Item2/d", "item10/b"}));
        QCOMPARE(report.largeFiles.front().isDirectory, false);
    }

    // Every visible child is listed as what it is; a link is not followed, so it and a FIFO weigh nothing,
    // and a folder that cannot be read is marked, not counted.
    void childrenAreListedAsWhatTheyAre_data()
    {
        using Kind = AnalysisReport::Kind;
        columns<QString, Kind, qint64>("child", "kind", "size");
        row("file", "plain.txt", Kind::file, qint64(300));
        row("empty folder", "Empty", Kind::folder, qint64(0));
        row("link to a file", "to-file", Kind::link, qint64(0));
        row("link to a folder", "to-folder", Kind::link, qint64(0));
        row("dangling link", "nowhere", Kind::danglingLink, qint64(0));
        row("FIFO", "pipe", Kind::special, qint64(0));
        row("unreadable folder", "locked", Kind::unreadableFolder, qint64(0));
    }
    void childrenAreListedAsWhatTheyAre()
    {
        const auto [child, kind, size] =
            fetch<QString, AnalysisReport::Kind, qint64>("child", "kind", "size");
        file(m_root + "/plain.txt", 300);
        folder(m_root + "/Empty");
        link(file(m_box.path("outside/big.bin"), 90000), m_root + "/to-file");
        link(QFileInfo(file(m_box.path("outside/dir/inner.bin"), 5000)).path(), m_root + "/to-folder");
        link(m_box.path("missing"), m_root + "/nowhere");
        QCOMPARE(mkfifo(QFile::encodeName(m_root + "/pipe").constData(), 0600), 0);
        const QString locked = m_root + "/locked";
        file(locked + "/secret.bin", 700);
        QVERIFY(QFile::setPermissions(locked, {}));
        const auto unlock = qScopeGuard(
            [&] { QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); });
        // As a user whom the permissions stop (nobody, when the tests run as root).
        QVERIFY(asUnprivileged(m_box.path(), [&, child = child, kind = kind, size = size] {
            const AnalysisReport report = LocalAnalysis::snapshot(m_root, m_home);
            const AnalysisReport::Entry* entry = named(report.entries, child);
            return report.entries.size() == 7 && entry && entry->kind == kind && entry->size == size &&
                   entry->isDirectory == (kind == AnalysisReport::Kind::folder ||
                                          kind == AnalysisReport::Kind::unreadableFolder) &&
                   report.totalSize == 300 && report.totalFiles == 1;
        }));
    }

    // Hidden items and, in a Mac's home folder, the personal folders are left out and named as such,
    // unless everything is counted; a Linux home and any other folder (its own Desktop included) are
    // walked whole.
    void whatIsLeftOutIsReported_data()
    {
        using LeftOut = AnalysisReport::LeftOut;
        const auto mac = TargetSystem::macOS, linux = TargetSystem::linuxDesktop;
        columns<bool, bool, TargetSystem, LeftOut, qint64>("analyseHome", "countEverything", "system",
                                                           "leftOut", "totalSize");
        row("a Mac's home folder", true, false, mac,
            LeftOut{3, 50, {"Desktop", "Downloads", "Library/Mobile Documents"}}, qint64(100));
        row("a Mac's home folder, everything counted", true, true, mac, LeftOut{}, qint64(23150));
        row("a Linux home folder", true, false, linux, LeftOut{3, 50, {}}, qint64(21100));
        row("another folder", false, false, mac, LeftOut{3, 50, {}}, qint64(21100));
    }
    void whatIsLeftOutIsReported()
    {
        const auto [analyseHome, countEverything, system, leftOut, totalSize] =
            fetch<bool, bool, TargetSystem, AnalysisReport::LeftOut, qint64>(
                "analyseHome", "countEverything", "system", "leftOut", "totalSize");
        const QString root = analyseHome ? m_home : m_root;
        for (const char* personal : {"Desktop", "Downloads", "Library/Mobile Documents"}) // no Documents
            file(root + "/" + personal + "/private.bin", 7000);
        for (const auto& [path, size] : std::map<QString, int>{{"Music/song.flac", 100},
                                                               {"Music/.cover", 10},
                                                               {"Music/sub/.thumb", 40},
                                                               {".config/a/b", 2000}})
            file(root + "/" + path, size);
        LocalAnalysis::Options options;
        options.countEverything = countEverything;
        options.system = system;
        const AnalysisReport report =
            LocalAnalysis::snapshot(root + "/", m_home, options); // trailing separator
        QVERIFY(report.path == root + "/" && report.leftOut == leftOut && report.totalSize == totalSize);
        QCOMPARE(named(report.entries, ".config") != nullptr, countEverything);
        const bool leftOutPersonal = analyseHome && !countEverything && system == TargetSystem::macOS;
        QCOMPARE(named(report.entries, "Desktop") == nullptr, leftOutPersonal);
        QCOMPARE(named(report.entries, "Library")->size, leftOutPersonal ? 0 : 7000);
    }

    void theListsKeepTheLargestEighty()
    {
        for (int i = 1; i <= 100; ++i)
            file(QString("%1/child%2/f.bin").arg(m_root).arg(i), i * 10);
        const AnalysisReport report = LocalAnalysis::snapshot(m_root, m_home);
        QVERIFY(report.entries.size() == 80 && report.largeFiles.size() == 80 && report.totalFiles == 100);
        QVERIFY(report.entries.back().size == 210 && report.largeFiles.back().size == 210);
    }

    // A root in other words is walked as meant; a missing one, or a cancel, gives nothing.
    void rootsGivenOtherwiseAndCancelling()
    {
        file(m_root + "/Music/song.flac", 300);
        const QString roundabout = m_root + "/Projects/../Music/";
        const AnalysisReport report = LocalAnalysis::snapshot(roundabout, m_home);
        QVERIFY(report.path == roundabout && report.totalSize == 300);
        const AnalysisReport missing = LocalAnalysis::snapshot(m_box.path("nowhere"), m_home);
        QVERIFY(missing.path == m_box.path("nowhere") && missing.entries.empty() &&
                missing.largeFiles.empty());
        QCOMPARE(missing.totalFiles, 0);
        manyFiles(m_root + "/d", 50, 10);
        std::atomic_bool cancelled = true;
        LocalAnalysis::Options options;
        options.cancelled = &cancelled;
        QVERIFY(LocalAnalysis::snapshot(m_root, m_home, options).totalFiles < 50);
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

    // Every row names its item by its bytes: names that read alike (one not UTF-8, one the UTF-8 of
    // U+FFFD) are two items, and acting on a row reaches that item alone, unchanged since the scan.
    void eachRowActsOnItsOwnItem_data()
    {
        // row: below the home; linked: the folder that is not UTF-8 replaced by a link to it after the scan
        columns<QByteArray, QString, bool, QString>("row", "action", "linked", "refusal");
        row("not UTF-8", QByteArray("bad\xFF"), "trash", false, "");
        row("the UTF-8 look-alike", QByteArray("bad\xEF\xBF\xBD"), "trash", false, "");
        row("UTF-8", QByteArray("caf\xC3\xA9.txt"), "trash", false, "");
        row("large file in a folder not UTF-8", QByteArray("dir\xFE/inner.bin"), "trash", false, "");
        row("that folder now a link", QByteArray("dir\xFE/inner.bin"), "trash", true, "is a link");
        row("folder not UTF-8, reached", QByteArray("dir\xFE"), "reach", false, "");
        row("swapped since the scan", QByteArray("swapped"), "trash", false, "changed since");
        row("swapped since the scan, reached", QByteArray("swapped"), "reach", false, "changed since");
    }
    void eachRowActsOnItsOwnItem()
    {
        const auto [name, action, linked, refusal] =
            fetch<QByteArray, QString, bool, QString>("row", "action", "linked", "refusal");
        const auto emptied = qScopeGuard([&] {
            emptyFolder(m_home);
            emptyFolder(Trash::freedesktopTrashFolder());
        });
        const QByteArray home = QFile::encodeName(m_home) + '/';
        std::map<QByteArray, QByteArray> items{{"bad\xFF", "ff"},
                                               {"bad\xEF\xBF\xBD", "fffd"},
                                               {"caf\xC3\xA9.txt", "cafe"},
                                               {"dir\xFE/inner.bin", "inner"},
                                               {"swapped", "old"}};
        for (const auto& [item, data] : items)
            rawFile(m_home, item, data);
        const AnalysisReport report = LocalAnalysis::snapshot(m_home, m_home);
        rawFile(m_home, "swapped.new", items["swapped"] = "new");
        QCOMPARE(::rename((home + "swapped.new").constData(), (home + "swapped").constData()), 0);
        if (linked)
            QVERIFY(::rename((home + "dir\xFE").constData(), (home + "elsewhere").constData()) == 0 &&
                    ::symlink("elsewhere", (home + "dir\xFE").constData()) == 0);
        const auto listed = [&, name = name] {
            for (const auto* list : {&report.entries, &report.largeFiles})
                for (const AnalysisReport::Entry& entry : *list)
                    if (entry.bytes() == home + name)
                        return &entry;
            return static_cast<const AnalysisReport::Entry*>(nullptr);
        }();
        QVERIFY(listed && listed->identity);

        std::optional<QString> refused;
        if (action == "trash") {
            refused = ScanPathGuard::moveToTrash(listed->bytes(), listed->identity, m_home);
        } else {
            auto reached = LocalAnalysis::reachListed(report, *listed);
            if (const QString* problem = std::get_if<QString>(&reached))
                refused = *problem;
            else
                QCOMPARE(std::get<ConfinedPath::Reached>(reached).name(), name);
        }
        QVERIFY2(refused.value_or("").contains(refusal) && refused.has_value() == !refusal.isEmpty(),
                 qPrintable(refused.value_or("acted")));
        // The row's item went to the Trash under its own bytes; everything else stays as it was.
        const bool moved = action == "trash" && refusal.isEmpty();
        for (const auto& [item, data] : items)
            QCOMPARE(readRaw(home + item),
                     moved && (item == name || item.startsWith(name + '/')) ? QByteArray() : data);
        if (moved)
            QVERIFY(readRaw(QFile::encodeName(Trash::freedesktopTrashFolder()) + "/info/" +
                            name.mid(name.lastIndexOf('/') + 1) + ".trashinfo")
                        .contains("Path=" + QUrl::toPercentEncoding(home + name, "/") + '\n'));
    }

    void jsonRoundTripAndDefaults()
    {
        file(m_root + "/a/b.bin", 10);
        file(m_root + "/c.bin", 10);
        const AnalysisReport report = LocalAnalysis::snapshot(m_root, m_home);
        QCOMPARE(SystemReportParser::parseAnalysis(QJsonDocument(report.toJson()).toJson()), report);
        const AnalysisReport sparse = SystemReportParser::parseAnalysis(R"({"entries": [{"size": 5}]})");
        QVERIFY(sparse.largeFiles.empty() && !sparse.totalSize && !sparse.totalFiles && !sparse.path);
        QCOMPARE(sparse.entries.size(), std::size_t(1));
        QVERIFY(sparse.entries[0].id() !=
                sparse.entries[0].id()); // no path or name: a new identity each time
        QVERIFY_THROWS_EXCEPTION(KelvoError, SystemReportParser::parseAnalysis("[1, 2]"));
        QVERIFY_THROWS_EXCEPTION(KelvoError, SystemReportParser::parseAnalysis("{broken"));
    }
};

KELVO_REGISTER_TEST(TestLocalAnalysis)
#include "tst_LocalAnalysis.moc"
