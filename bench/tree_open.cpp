// What opening a folder of a walked tree costs: the walk once, then for the root and for the deepest
// folder what the window computes when it shows one (the report, the sorted children, the views and
// the treemap), timed over several openings. Built and run by bench/analysis.sh.
#include "analysis/LocalAnalysis.h"
#include "analysis/StorageTreemap.h"
#include "analysis/StorageViews.h"
#include "analysis/StorageWalk.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

int depthOf(const StorageTree& tree, StorageTree::Index index)
{
    int depth = 0;
    for (StorageTree::Index at = index; at != tree.root(); at = tree.node(at).parent)
        ++depth;
    return depth;
}

// Milliseconds per opening, the median of nine.
double openingTime(const StorageWalk::Result& walked, StorageTree::Index folder)
{
    std::vector<double> times;
    for (int i = 0; i < 9; ++i) {
        QElapsedTimer clock;
        clock.start();
        const AnalysisReport report = LocalAnalysis::reportOf(walked, folder, 1'000'000);
        const auto sorted = StorageViews::sortedChildren(walked.tree, folder, StorageViews::SortKey::name);
        const auto old = StorageViews::oldFiles(walked.tree, folder, QDateTime::currentDateTime(), 12, 80);
        const auto types = StorageViews::sizesByType(walked.tree, folder);
        const auto tiles = StorageTreemap::layout(walked.tree, folder, QRectF(0, 0, 860, 320));
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (report.entries.size() + sorted.size() + old.files.size() + types.size() + tiles.size() == 0)
            std::printf("(empty)\n");
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tree_open FOLDER\n");
        return 2;
    }
    const StorageWalk::Result walked = StorageWalk::walk(QByteArray(argv[1]));
    const StorageTree& tree = walked.tree;
    StorageTree::Index deepest = tree.root();
    for (StorageTree::Index index = 0; index < tree.size(); ++index)
        if (tree.node(index).isFolder() && tree.node(index).childCount > 0 &&
            depthOf(tree, index) > depthOf(tree, deepest))
            deepest = index;
    std::printf("  opening the root (%zu items below)        %8.2f ms\n",
                std::size_t(tree.node(tree.root()).items), openingTime(walked, tree.root()));
    std::printf("  opening the deepest folder (depth %d, %u items) %8.2f ms\n", depthOf(tree, deepest),
                tree.node(deepest).items, openingTime(walked, deepest));
    return 0;
}
