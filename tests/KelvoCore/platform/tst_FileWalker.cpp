// The one tree walker: what it visits and how it stops, what a measurement counts, links never followed.
// Its options (hidden items, packages, depth) are exercised by the scanners that set them.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "platform/FileWalker.h"

#include <QDir>
#include <QMap>

using namespace SyntheticHome;
using namespace TestSupport;

namespace {

// Relative path -> item, for one walk.
QMap<QString, FileWalker::Item> walkAll(const QString& root, const FileWalker::Options& options = {},
                                        FileWalker::Outcome* outcome = nullptr)
{
    QMap<QString, FileWalker::Item> seen;
    const FileWalker::Outcome result = FileWalker::walk(root, options, [&](const FileWalker::Item& item) {
        seen.insert(item.path.mid(root.size() + 1), item);
        return FileWalker::Decision::proceed;
    });
    if (outcome)
        *outcome = result;
    return seen;
}

} // namespace

class TestFileWalker : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_root;
    const QStringList m_files{"a.txt", ".hidden", "sub/deep/b.bin", "Tool.app/Contents/Info.plist",
                              "Kit.FRAMEWORK/Kit"};

private slots:
    void init()
    {
        m_box.renew();
        m_root = m_box.path("tree");
        for (const QString& name : m_files)
            file(m_root + "/" + name, name == "a.txt" ? 5000 : 10);
        folder(m_root + "/empty");
        file(m_box.path("outside/secret/file"), 10);
        link(m_box.path("outside"), m_root + "/escape");
    }

    void visitsEveryItemOnceWithItsKindAndNeverFollowsLinks()
    {
        FileWalker::Outcome outcome;
        const auto seen = walkAll(m_root, {}, &outcome);
        QVERIFY(outcome.rootListed && outcome.finished);
        QCOMPARE(outcome.itemCount, seen.size());
        const FileWalker::Item a = seen.value("a.txt");
        QVERIFY(a.kind == FileWalker::Kind::file && a.logicalBytes == 5000 && a.depth == 1);
        QCOMPARE(a.allocatedBytes, allocated(m_root + "/a.txt"));
        QCOMPARE(seen.value("sub/deep/b.bin").depth, 3);
        QCOMPARE(seen.value("sub").kind, FileWalker::Kind::folder);
        QCOMPARE(seen.value("escape").kind, FileWalker::Kind::link);
        QVERIFY(seen.contains("empty") && seen.contains("Tool.app/Contents/Info.plist") &&
                seen.contains(".hidden"));
        QVERIFY(!seen.contains("escape/secret"));
    }

    // A name that is not UTF-8, or that starts with a byte order mark, keeps its own bytes.
    void namesKeepTheirBytes()
    {
        const QString place = folder(m_box.path("names"));
        QList<QByteArray> names{"caf\xE9", "plain", "\xEF\xBB\xBFmarked"}, seen; // in byte order
        for (const QByteArray& name : names)
            rawFile(place, name);
        FileWalker::walk(place, {}, [&](const FileWalker::Item& item) {
            seen << item.bytes().mid(QFile::encodeName(place).size() + 1);
            return FileWalker::Decision::proceed;
        });
        std::sort(seen.begin(), seen.end());
        QCOMPARE(seen, names);
    }

    // Items that go while their folder is walked (here half the folder, removed at the first visit)
    // are passed over, and the walk goes on with the rest of the folder.
    void itemsThatGoMidWalkArePassedOver()
    {
        const QString place = folder(m_box.path("place"));
        for (int i = 0; i < 100; ++i)
            file(place + '/' + QString::number(i));
        QStringList seen;
        FileWalker::walk(place, {}, [&](const FileWalker::Item& item) {
            for (int i = 0; seen.isEmpty() && i < 100; i += 2)
                QFile::remove(place + '/' + QString::number(i));
            seen << item.name;
            return FileWalker::Decision::proceed;
        });
        QStringList left = QDir(place).entryList(QDir::Files);
        left.removeOne(seen.takeFirst());
        seen.sort();
        left.sort();
        QCOMPARE(seen, left);
    }

    // The visitor's decisions, and roots that cannot be listed: missing, a file, a link to a folder.
    void decisionsAndUnlistedRoots()
    {
        QStringList visited;
        FileWalker::walk(m_root, {}, [&](const FileWalker::Item& item) {
            visited << item.name;
            return item.name == "sub" ? FileWalker::Decision::skipDescendants : FileWalker::Decision::proceed;
        });
        QVERIFY(visited.contains("sub") && !visited.contains("deep"));
        int count = 0;
        const FileWalker::Outcome outcome = FileWalker::walk(m_root, {}, [&](const FileWalker::Item&) {
            return ++count == 2 ? FileWalker::Decision::stop : FileWalker::Decision::proceed;
        });
        QCOMPARE(count, 2);
        QVERIFY(!outcome.finished);
        for (const char* root : {"missing", "tree/a.txt", "tree/escape"}) {
            FileWalker::Outcome unlisted;
            QVERIFY(walkAll(m_box.path(root), {}, &unlisted).isEmpty() && !unlisted.rootListed);
        }
    }

    // The clock is read every 256 items only.
    void capDeadlineAndCancel_data()
    {
        columns<QString>("limit");
        row("item cap", "cap");
        row("expired deadline", "deadline");
        row("cancelled", "cancel");
    }
    void capDeadlineAndCancel()
    {
        const auto [limit] = fetch<QString>("limit");
        manyFiles(m_root + "/many", 600, 1);
        std::atomic_bool cancelled = true;
        FileWalker::Options options;
        if (limit == "cap")
            options.itemCap = 3;
        else if (limit == "deadline")
            options.deadline = QDeadlineTimer(0);
        else
            options.cancelled = &cancelled;
        FileWalker::Outcome outcome;
        const auto seen = walkAll(m_root, options, &outcome);
        QVERIFY(!outcome.finished);
        QVERIFY2(seen.size() <= (limit == "cap" ? 3 : 256), qPrintable(QString::number(seen.size())));
    }

    // The root and links do not count; a file is one file; a link, nothing or an empty folder nothing.
    void measure()
    {
        qint64 bytes = 0;
        for (const QString& name : m_files)
            bytes += allocated(m_root + "/" + name);
        QCOMPARE(FileWalker::measure(m_root), (FileWalker::Measurement{bytes, 5, 6, true}));
        FileWalker::MeasureOptions packagesClosed;
        packagesClosed.enterPackages = false;
        const FileWalker::Measurement closed = FileWalker::measure(m_root, packagesClosed);
        QVERIFY(closed.files == 3 && closed.folders == 5);
        QCOMPARE(FileWalker::measure(m_root + "/a.txt"),
                 (FileWalker::Measurement{allocated(m_root + "/a.txt"), 1, 0, true}));
        for (const char* nothing : {"/escape", "/nothing", "/empty"})
            QCOMPARE(FileWalker::measure(m_root + nothing), FileWalker::Measurement{});
        // The cap counts files and folders only.
        for (int i = 0; i < 5; ++i)
            link(m_box.path("outside"), QString("%1/links/l%2").arg(m_root).arg(i));
        FileWalker::MeasureOptions options;
        options.itemCap = 4;
        QStringList counted;
        options.onCounted = [&](const FileWalker::Item& item) { counted << item.name; };
        const FileWalker::Measurement capped = FileWalker::measure(m_root, options);
        QCOMPARE(capped.files + capped.folders, 4);
        QCOMPARE(counted.size(), 4);
        QVERIFY(!capped.complete);
        std::atomic_bool cancelled = true;
        FileWalker::MeasureOptions cancelling;
        cancelling.cancelled = &cancelled;
        QCOMPARE(FileWalker::measure(m_root, cancelling), (FileWalker::Measurement{0, 0, 0, false}));
    }

    // A package is named by a known extension in any case, after a name.
    void packageNames()
    {
        QVERIFY(FileWalker::isPackageName("App.dSYM"));
        for (const char* name : {"Caches", ".app", "weird."})
            QVERIFY2(!FileWalker::isPackageName(name), name);
    }
};

KELVO_REGISTER_TEST(TestFileWalker)
#include "tst_FileWalker.moc"
