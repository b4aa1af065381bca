#include "TestMain.h"

#include "SyntheticHome.h"

#include "platform/FileWalker.h"

#include <QMap>

using namespace SyntheticHome;

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

private slots:
    void init()
    {
        m_box.renew();
        m_root = m_box.path("tree");
        file(m_root + "/a.txt", 5000);
        file(m_root + "/.hidden", 10);
        file(m_root + "/sub/deep/b.bin", 100);
        file(m_root + "/Tool.app/Contents/Info.plist", 10);
        file(m_root + "/Kit.FRAMEWORK/Kit", 10);
        folder(m_root + "/empty");
        folder(m_box.path("outside/secret"));
        file(m_box.path("outside/secret/file"), 10);
        link(m_box.path("outside"), m_root + "/escape");
    }

    void visitsEveryItemOnceWithItsKind()
    {
        FileWalker::Outcome outcome;
        const auto seen = walkAll(m_root, {}, &outcome);
        QVERIFY(outcome.rootListed);
        QVERIFY(outcome.finished);
        QCOMPARE(outcome.itemCount, seen.size());
        QCOMPARE(seen.value("a.txt").kind, FileWalker::Kind::file);
        QCOMPARE(seen.value("a.txt").logicalBytes, 5000);
        QCOMPARE(seen.value("a.txt").allocatedBytes, allocated(m_root + "/a.txt"));
        QCOMPARE(seen.value("a.txt").depth, 1);
        QCOMPARE(seen.value("sub/deep/b.bin").depth, 3);
        QCOMPARE(seen.value("sub").kind, FileWalker::Kind::folder);
        QCOMPARE(seen.value("escape").kind, FileWalker::Kind::link);
        QVERIFY(seen.contains("empty"));
        QVERIFY(seen.contains("Tool.app/Contents/Info.plist"));
    }

    void neverFollowsLinks()
    {
        const auto seen = walkAll(m_root);
        for (const QString& path : seen.keys())
            QVERIFY2(!path.startsWith("escape/"), qPrintable(path));
    }

    void options_data()
    {
        QTest::addColumn<bool>("includeHidden");
        QTest::addColumn<bool>("enterPackages");
        QTest::addColumn<int>("maxDepth");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        using TestSupport::row;
        row("everything", true, true, -1, QStringList{".hidden", "Tool.app/Contents", "sub/deep/b.bin"},
            QStringList{});
        row("hidden skipped", false, true, -1, QStringList{"a.txt"}, QStringList{".hidden"});
        row("packages listed, not entered", true, false, -1,
            QStringList{"Tool.app", "Kit.FRAMEWORK", "sub/deep/b.bin"},
            QStringList{"Tool.app/Contents", "Kit.FRAMEWORK/Kit"});
        row("children only", true, true, 1, QStringList{"sub", "a.txt"},
            QStringList{"sub/deep", "Tool.app/Contents"});
        row("two levels", true, true, 2, QStringList{"sub/deep"}, QStringList{"sub/deep/b.bin"});
    }
    void options()
    {
        QFETCH(bool, includeHidden);
        QFETCH(bool, enterPackages);
        QFETCH(int, maxDepth);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        FileWalker::Options options;
        options.includeHidden = includeHidden;
        options.enterPackages = enterPackages;
        options.maxDepth = maxDepth;
        const auto seen = walkAll(m_root, options);
        for (const QString& path : present)
            QVERIFY2(seen.contains(path), qPrintable(path));
        for (const QString& path : absent)
            QVERIFY2(!seen.contains(path), qPrintable(path));
    }

    void skipDescendantsAndStop()
    {
        QStringList visited;
        FileWalker::walk(m_root, {}, [&](const FileWalker::Item& item) {
            visited << item.name;
            return item.name == "sub" ? FileWalker::Decision::skipDescendants : FileWalker::Decision::proceed;
        });
        QVERIFY(visited.contains("sub"));
        QVERIFY(!visited.contains("deep"));

        int count = 0;
        const FileWalker::Outcome outcome = FileWalker::walk(m_root, {}, [&](const FileWalker::Item&) {
            return ++count == 2 ? FileWalker::Decision::stop : FileWalker::Decision::proceed;
        });
        QCOMPARE(count, 2);
        QVERIFY(!outcome.finished);
    }

    void capDeadlineAndCancel_data()
    {
        QTest::addColumn<QString>("limit");
        QTest::newRow("item cap") << "cap";
        QTest::newRow("expired deadline") << "deadline";
        QTest::newRow("cancelled") << "cancel";
    }
    void capDeadlineAndCancel()
    {
        QFETCH(QString, limit);
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

    void rootsThatCannotBeListed_data()
    {
        QTest::addColumn<QString>("root");
        QTest::newRow("missing") << "missing";
        QTest::newRow("a file") << "tree/a.txt";
        QTest::newRow("a link to a folder") << "tree/escape";
    }
    void rootsThatCannotBeListed()
    {
        QFETCH(QString, root);
        FileWalker::Outcome outcome;
        const auto seen = walkAll(m_box.path(root), {}, &outcome);
        QVERIFY(!outcome.rootListed);
        QVERIFY(seen.isEmpty());
    }

    void measureSumsFilesBelowWithoutFollowingLinks()
    {
        const FileWalker::Measurement all = FileWalker::measure(m_root);
        QCOMPARE(all.files, 5);
        QCOMPARE(all.folders, 6); // the root and the link to a folder do not count
        QCOMPARE(all.allocatedBytes, allocated(m_root + "/a.txt") + allocated(m_root + "/.hidden") +
                                         allocated(m_root + "/sub/deep/b.bin") +
                                         allocated(m_root + "/Tool.app/Contents/Info.plist") +
                                         allocated(m_root + "/Kit.FRAMEWORK/Kit"));
        QVERIFY(all.complete);

        FileWalker::MeasureOptions packagesClosed;
        packagesClosed.enterPackages = false;
        const FileWalker::Measurement closed = FileWalker::measure(m_root, packagesClosed);
        QCOMPARE(closed.files, 3);
        QCOMPARE(closed.folders, 5);

        const FileWalker::Measurement single = FileWalker::measure(m_root + "/a.txt");
        QCOMPARE(single, (FileWalker::Measurement{allocated(m_root + "/a.txt"), 1, 0, true}));
        QCOMPARE(FileWalker::measure(m_root + "/escape"), FileWalker::Measurement{});
        QCOMPARE(FileWalker::measure(m_root + "/nothing"), FileWalker::Measurement{});
        QCOMPARE(FileWalker::measure(m_root + "/empty"), FileWalker::Measurement{});
    }

    void measureCapCountsFilesAndFoldersOnly()
    {
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
        const FileWalker::Measurement stopped = FileWalker::measure(m_root, cancelling);
        QVERIFY(!stopped.complete);
        QCOMPARE(stopped.files + stopped.folders, 0);
    }

    void childrenAreTheFoldersOwnItems()
    {
        QStringList names;
        for (const FileWalker::Item& item : FileWalker::children(m_root)) {
            names << item.name;
            QCOMPARE(item.depth, 1);
            QCOMPARE(item.path, m_root + "/" + item.name);
        }
        names.sort();
        QCOMPARE(names,
                 (QStringList{".hidden", "Kit.FRAMEWORK", "Tool.app", "a.txt", "empty", "escape", "sub"}));

        FileWalker::Options visible;
        visible.includeHidden = false;
        QCOMPARE(FileWalker::children(m_root, visible).size(), std::size_t(6));
        QVERIFY(FileWalker::children(m_root + "/a.txt").empty());
        QVERIFY(FileWalker::children(m_root + "/escape").empty());
    }

    void statItemDoesNotFollowLinks()
    {
        QCOMPARE(FileWalker::statItem(m_root + "/escape")->kind, FileWalker::Kind::link);
        QCOMPARE(FileWalker::statItem(m_root + "/a.txt")->name, QString("a.txt"));
        QVERIFY(!FileWalker::statItem(m_root + "/nothing"));
    }

    void packageNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("package");
        QTest::newRow("app") << "Safari.app" << true;
        QTest::newRow("upper case") << "Kit.FRAMEWORK" << true;
        QTest::newRow("dsym mixed case") << "App.dSYM" << true;
        QTest::newRow("plain folder") << "Caches" << false;
        QTest::newRow("hidden name only") << ".app" << false;
        QTest::newRow("trailing dot") << "weird." << false;
        QTest::newRow("app inside a name") << "apple" << false;
    }
    void packageNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, package);
        QCOMPARE(FileWalker::isPackageName(name), package);
    }

private:
    Sandbox m_box;
    QString m_root;
};

KELVO_REGISTER_TEST(TestFileWalker)
#include "tst_FileWalker.moc"
