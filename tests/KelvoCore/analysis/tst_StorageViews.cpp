// The views of a walked tree (sorting, largest and old files, sizes by type) and its nested treemap,
// against a synthetic folder with chosen sizes and modification times.
#include "TestMain.h"

#include "SyntheticHome.h"

#include "analysis/StorageTreemap.h"
#include "analysis/StorageViews.h"
#include "analysis/StorageWalk.h"

#include <QDateTime>

#include <numeric>

#include <sys/time.h>

using namespace SyntheticHome;
using namespace TestSupport;
using namespace StorageViews;

namespace {

const QDateTime now = QDateTime(QDate(2026, 12, 1), QTime(12, 0), Qt::UTC);

void touch(const QString& path, const QDateTime& when)
{
    const timeval times[2] = {{time_t(when.toSecsSinceEpoch()), 0}, {time_t(when.toSecsSinceEpoch()), 0}};
    QCOMPARE(::lutimes(QFile::encodeName(path).constData(), times), 0);
}

QString names(const StorageTree& tree, const std::vector<Index>& items)
{
    QStringList all;
    for (const Index item : items)
        all << QString::fromUtf8(tree.name(item));
    return all.join(' ');
}

} // namespace

class TestStorageViews : public QObject {
    Q_OBJECT

    Sandbox m_box;

private slots:
    void init() { m_box.renew(); }

    void viewsOfOneTree_data()
    {
        columns<QString, QString>("view", "expected");
        row("by size", "size", "media b.zip docs");
        row("by name", "name", "b.zip docs media");
        row("by items", "items", "media docs b.zip");
        row("by modification", "modified", "b.zip media docs");
        row("largest files above 1,000 bytes, never padded", "largest", "film.mkv song.flac clip.mov b.zip");
        row("old files, six months", "old", "film.mkv notes.txt | 2 7100");
        row("by type", "types", "video 9000 2, audio 4000 1, archives 1500 1, documents 100 1, images 50 1");
    }
    void viewsOfOneTree()
    {
        const auto [view, expected] = fetch<QString, QString>("view", "expected");
        const QString root = m_box.path("root");
        const std::map<QString, std::pair<int, int>> files{
            // size, months before now
            {"media/film.mkv", {9000 - 2000, 7}},
            {"media/clip.mov", {2000, 1}},
            {"media/song.flac", {4000, 2}},
            {"media/cover.PNG", {50, 2}}, // extensions in any letter case
            {"docs/notes.txt", {100, 12}},
            {"b.zip", {1500, 0}}};
        for (const auto& [path, facts] : files) {
            file(root + '/' + path, facts.first);
            touch(root + '/' + path, now.addMonths(-facts.second).addDays(-1));
        }
        touch(root + "/media", now.addMonths(-3));
        touch(root + "/docs", now.addMonths(-2));
        StorageWalk::Result walked = StorageWalk::walk(QFile::encodeName(root));
        const StorageTree& tree = walked.tree;
        const Index top = tree.root();
        QString seen;
        if (view == "size" || view == "name" || view == "items" || view == "modified") {
            const SortKey key = view == "size"    ? SortKey::size
                                : view == "name"  ? SortKey::name
                                : view == "items" ? SortKey::items
                                                  : SortKey::modified;
            seen = names(tree, sortedChildren(tree, top, key));
        } else if (view == "largest") {
            seen = names(tree, largestFiles(tree, top, 1000, 80));
        } else if (view == "old") {
            const OldFiles old = oldFiles(tree, top, now, 6, 80);
            seen = names(tree, old.files) + QString(" | %1 %2").arg(old.count).arg(old.bytes);
        } else {
            const QStringList typeNames{"video",       "images", "audio",     "archives",
                                        "disk images", "code",   "documents", "other"};
            QStringList totals;
            for (const TypeTotal& total : sizesByType(tree, top))
                totals
                    << QString("%1 %2 %3").arg(typeNames[int(total.type)]).arg(total.bytes).arg(total.files);
            seen = totals.join(", ");
        }
        QCOMPARE(seen, expected);
    }

    // The tiles of each folder fill its rectangle without overlapping, as close to square as their
    // rows allow; items too small to see are one merged tile; nested tiles stay inside their folder.
    void treemapTilesFillTheirFolder_data()
    {
        // sizes of the root's files (a "d/" prefix puts one in folder d), the bounds, and the tiles
        // expected: "name x y w h" for depth 0, or a count for the merged ones
        columns<QStringList, QRectF, QStringList>("sizes", "bounds", "tiles");
        row("four equal files make quarters", QStringList{"a 100", "b 100", "c 100", "d 100"},
            QRectF(0, 0, 100, 100),
            QStringList{"a 0 0 50 50", "b 0 50 50 50", "c 50 0 50 50", "d 50 50 50 50"});
        row("a half and two quarters", QStringList{"a 200", "b 100", "c 100"}, QRectF(0, 0, 200, 100),
            QStringList{"a 0 0 100 100", "b 100 0 100 50", "c 100 50 100 50"});
        row("specks merge into one tile", QStringList{"a 100000", "b 1", "c 1", "d 1"},
            QRectF(0, 0, 100, 100), QStringList{"a 0 0 99.997 100", "3 merged"});
    }
    void treemapTilesFillTheirFolder()
    {
        const auto [sizes, bounds, expected] =
            fetch<QStringList, QRectF, QStringList>("sizes", "bounds", "tiles");
        const QString root = m_box.path("root");
        for (const QString& entry : sizes)
            file(root + '/' + entry.section(' ', 0, 0), entry.section(' ', 1).toInt());
        StorageWalk::Result walked = StorageWalk::walk(QFile::encodeName(root));
        QStringList seen;
        for (const StorageTreemap::Tile& tile :
             StorageTreemap::layout(walked.tree, walked.tree.root(), bounds))
            seen << (tile.index == StorageTree::none
                         ? QString("%1 merged").arg(tile.merged)
                         : QString("%1 %2 %3 %4 %5")
                               .arg(QString::fromUtf8(walked.tree.name(tile.index)))
                               .arg(tile.rect.x(), 0, 'g', 5)
                               .arg(tile.rect.y(), 0, 'g', 5)
                               .arg(tile.rect.width(), 0, 'g', 5)
                               .arg(tile.rect.height(), 0, 'g', 5));
        QCOMPARE(seen, expected);
    }

    // Whatever the sizes and the shape of the area, the tiles lie inside it without overlapping, each
    // one's area its part of the whole, none much longer than wide when the sizes are equal.
    void treemapAreasKeepTheirProportions_data()
    {
        columns<QList<qint64>, QRectF>("sizes", "bounds");
        row("one", QList<qint64>{42}, QRectF(0, 0, 300, 200));
        row("equal, wide", QList<qint64>{5, 5, 5, 5, 5, 5, 5}, QRectF(0, 0, 800, 120));
        row("equal, tall", QList<qint64>{5, 5, 5, 5, 5}, QRectF(0, 0, 90, 600));
        row("skewed", QList<qint64>{1'000'000'000, 4'000'000, 3'000'000, 100'000, 10, 1},
            QRectF(0, 0, 830, 220));
        row("falling", QList<qint64>{60, 30, 25, 20, 12, 9, 6, 3, 2, 1}, QRectF(0, 0, 600, 400));
    }
    void treemapAreasKeepTheirProportions()
    {
        const auto [sizes, bounds] = fetch<QList<qint64>, QRectF>("sizes", "bounds");
        const QString root = folder(m_box.path("root"));
        for (qsizetype i = 0; i < sizes.size(); ++i) {
            QFile sparse(root + QString("/f%1").arg(i));
            QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(sizes[i]));
        }
        StorageWalk::Result walked = StorageWalk::walk(QFile::encodeName(root));
        StorageTreemap::Options everything;
        everything.smallestArea = 0;
        const auto tiles = StorageTreemap::layout(walked.tree, walked.tree.root(), bounds, everything);
        QCOMPARE(tiles.size(), std::size_t(sizes.size()));
        const double total = double(std::accumulate(sizes.begin(), sizes.end(), qint64(0)));
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            const QRectF& cell = tiles[i].rect;
            QVERIFY(bounds.adjusted(-0.01, -0.01, 0.01, 0.01).contains(cell));
            const double share = cell.width() * cell.height() / (bounds.width() * bounds.height());
            QVERIFY(qAbs(share - double(tiles[i].bytes) / total) < 0.001);
            for (std::size_t j = 0; j < i; ++j) {
                const QRectF overlap = cell.intersected(tiles[j].rect);
                QVERIFY(overlap.isEmpty() || overlap.width() * overlap.height() < 0.01);
            }
            if (sizes.count(sizes.constFirst()) == sizes.size())
                QVERIFY(std::max(cell.width() / cell.height(), cell.height() / cell.width()) < 3);
        }
    }

    void nestedTilesStayInsideTheirFolder()
    {
        const QString root = m_box.path("root");
        for (int i = 0; i < 6; ++i)
            file(root + QString("/big/sub%1/f").arg(i), 1000 * (i + 1));
        file(root + "/small", 3000);
        StorageWalk::Result walked = StorageWalk::walk(QFile::encodeName(root));
        const QRectF bounds(0, 0, 400, 300);
        const auto tiles = StorageTreemap::layout(walked.tree, walked.tree.root(), bounds);
        QHash<Index, QRectF> rects;
        int deepest = 0;
        for (const StorageTreemap::Tile& tile : tiles) {
            rects.insert(tile.index, tile.rect);
            deepest = std::max(deepest, tile.depth);
            const QRectF outer = tile.depth == 0 ? bounds : rects.value(tile.parent);
            QVERIFY2(outer.adjusted(-0.001, -0.001, 0.001, 0.001).contains(tile.rect),
                     qPrintable(QString::fromUtf8(walked.tree.name(tile.index))));
        }
        QCOMPARE(deepest, 2); // big, its subfolders, their files
    }
};

KELVO_REGISTER_TEST(TestStorageViews)
#include "tst_StorageViews.moc"
