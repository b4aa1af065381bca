#include "features/TreemapTileModel.h"

#include "app/AppModelSupport.h"
#include "features/AnalysisReportPresenter.h"

#include "analysis/StorageViews.h"
#include "vocabulary/PathText.h"
#include "vocabulary/SizeText.h"

#include <QFile>

int TreemapTileModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_tiles.size());
}

QVariant TreemapTileModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= int(m_tiles.size()) || !m_tree)
        return {};
    const StorageTreemap::Tile& tile = m_tiles[std::size_t(index.row())];
    const bool merged = tile.index == StorageTree::none;
    const QString name = merged ? QString() : PathText::shown(m_tree->name(tile.index).toByteArray());
    switch (role) {
    case KeyRole:
        return merged ? QString() : AnalysisReportPresenter::keyOfPath(m_tree->path(tile.index));
    case FolderKeyRole:
        return AnalysisReportPresenter::keyOfPath(m_tree->path(tile.parent));
    case NameRole:
        return merged ? AppModelSupport::L("%1 个小项目", "%1 small items").arg(tile.merged) : name;
    case XRole:
        return tile.rect.x();
    case YRole:
        return tile.rect.y();
    case WidthRole:
        return tile.rect.width();
    case HeightRole:
        return tile.rect.height();
    case DepthRole:
        return tile.depth;
    case IsFolderRole:
        return !merged && m_tree->node(tile.index).isFolder();
    case MergedRole:
        return tile.merged;
    case TypeRole:
        return merged || m_tree->node(tile.index).isFolder()
                   ? -1
                   : int(StorageViews::typeOf(m_tree->name(tile.index)));
    case ToolTipRole: {
        const QString share =
            m_total > 0 ? QString::number(double(tile.bytes) * 100 / double(m_total), 'f', 1) : "0";
        return QStringLiteral("%1\n%2 · %3%")
            .arg(merged ? data(index, NameRole).toString() : name, SizeText::bytes(tile.bytes), share);
    }
    default:
        return {};
    }
}

QHash<int, QByteArray> TreemapTileModel::roleNames() const
{
    return {{KeyRole, "key"},           {FolderKeyRole, "folderKey"},
            {NameRole, "name"},         {XRole, "tileX"},
            {YRole, "tileY"},           {WidthRole, "tileWidth"},
            {HeightRole, "tileHeight"}, {DepthRole, "depth"},
            {IsFolderRole, "isFolder"}, {MergedRole, "merged"},
            {TypeRole, "fileType"},     {ToolTipRole, "toolTip"}};
}

void TreemapTileModel::show(const StorageTree* tree, StorageTree::Index folder, qreal width, qreal height)
{
    beginResetModel();
    m_tree = tree;
    m_tiles.clear();
    m_total = 0;
    if (tree && folder != StorageTree::none && width > 0 && height > 0) {
        m_total = tree->node(folder).apparent;
        m_tiles = StorageTreemap::layout(*tree, folder, QRectF(0, 0, width, height));
    }
    endResetModel();
}
