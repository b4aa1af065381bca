// The whole tree one walk keeps, against a synthetic folder: every folder's sums, hard links once,
// the item cap, and an item taken out after a move.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "analysis/StorageWalk.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace SyntheticHome;
using namespace TestSupport;

namespace {

using Index = StorageTree::Index;

// "path apparent items" for every folder, depth first, paths relative to the root ("" for it).
QStringList folderSums(const StorageTree& tree)
{
    QStringList sums;
    std::vector<Index> folders{tree.root()};
    const qsizetype rootLength = tree.origin.rootPath.size();
    while (!folders.empty()) {
        const Index folder = folders.back();
        folders.pop_back();
        const StorageTree::Node& node = tree.node(folder);
        sums << QString("%1 %2 %3")
                    .arg(QString::fromUtf8(tree.path(folder).mid(rootLength + 1)))
                    .arg(node.apparent)
                    .arg(node.items);
        for (const Index child : tree.children(folder))
            if (tree.node(child).isFolder())
                folders.push_back(child);
    }
    sums.sort();
    return sums;
}

} // namespace

class TestStorageWalk : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_root;

private slots:
    void init()
    {
        m_box.renew();
        m_root = folder(m_box.path("root"));
    }

    // Each folder holds the apparent bytes and the items of everything below it; a hard link's bytes
    // count once, a link and a FIFO weigh nothing, a bundle is one item holding its files' bytes.
    void everyFolderSumsWhatIsBelowIt_data()
    {
        columns<QString, QStringList>("extra", "sums");
        const QStringList plain{" 1600 8", "a 1500 6", "a/b 1000 3", "a/b/c 1000 2", "a/e 0 1"};
        row("plain", "", plain);
        row("hard link beside its first name", "hardlink",
            QStringList{" 1600 9", "a 1500 7", "a/b 1000 3", "a/b/c 1000 2", "a/e 0 1"});
        row("link and FIFO", "special",
            QStringList{" 1600 10", "a 1500 6", "a/b 1000 3", "a/b/c 1000 2", "a/e 0 1"});
        row("bundle", "bundle", QStringList{" 2300 9", "a 1500 6", "a/b 1000 3", "a/b/c 1000 2", "a/e 0 1"});
    }
    void everyFolderSumsWhatIsBelowIt()
    {
        const auto [extra, sums] = fetch<QString, QStringList>("extra", "sums");
        file(m_root + "/a/b/c/big", 1000);
        file(m_root + "/a/d", 500);
        folder(m_root + "/a/e");
        file(m_root + "/top", 100);
        if (extra == "hardlink")
            QCOMPARE(::link(QFile::encodeName(m_root + "/a/d"), QFile::encodeName(m_root + "/a/twin")), 0);
        if (extra == "special") {
            link(m_root + "/a/d", m_root + "/shortcut");
            QCOMPARE(::mkfifo(QFile::encodeName(m_root + "/pipe"), 0600), 0);
        }
        if (extra == "bundle") {
            file(m_root + "/Tool.app/Contents/MacOS/tool", 600);
            file(m_root + "/Tool.app/Contents/Info.plist", 100);
        }
        StorageWalk::Options twoWorkers;
        twoWorkers.threads = 2;
        const StorageWalk::Result walked = StorageWalk::walk(QFile::encodeName(m_root), twoWorkers);
        QCOMPARE(folderSums(walked.tree), sums);
        QVERIFY(!walked.capped);
        if (extra == "bundle")
            QCOMPARE(walked.files, 5);
    }

    // A walk that meets more items than it may hold stops, says so, and keeps a consistent tree.
    void theItemCapStopsTheWalk()
    {
        for (int i = 0; i < 10; ++i)
            for (int j = 0; j < 5; ++j)
                file(m_root + QString("/f%1/g%2").arg(i).arg(j), 10);
        StorageWalk::Options options;
        options.mostItems = 30;
        const StorageWalk::Result walked = StorageWalk::walk(QFile::encodeName(m_root), options);
        QVERIFY(walked.capped);
        QCOMPARE(walked.tree.size(), std::size_t(26)); // the root's 11, then three folders of 5
        QCOMPARE(qint64(walked.tree.node(walked.tree.root()).items), qint64(walked.tree.size()));
    }

    // After a move to the Trash the item leaves its folder and every folder above it loses its bytes
    // and items, without a new walk.
    void aRemovedItemLeavesEveryFolderAboveIt()
    {
        file(m_root + "/a/b/big", 1000);
        file(m_root + "/a/b/small", 10);
        file(m_root + "/a/keep", 5);
        StorageWalk::Result walked = StorageWalk::walk(QFile::encodeName(m_root));
        StorageTree& tree = walked.tree;
        const Index b = tree.find(tree.root(), "a/b");
        QVERIFY(b != StorageTree::none);
        tree.remove(tree.find(b, "big"));
        QCOMPARE(folderSums(tree), (QStringList{" 15 5", "a 15 4", "a/b 10 2"}));
        tree.remove(b);
        QCOMPARE(folderSums(tree), (QStringList{" 5 3", "a 5 2"}));
        QCOMPARE(tree.find(tree.root(), "a/b"), StorageTree::none);
    }
};

KELVO_REGISTER_TEST(TestStorageWalk)
#include "tst_StorageWalk.moc"
