#pragma once

#include "analysis/StorageTreemap.h"

#include <QAbstractListModel>

#include <vector>

// The tiles of the nested treemap, parents before children: where each is drawn, what it is and what
// its tooltip says. A merged tile stands for a folder's items too small to draw.
class TreemapTileModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        KeyRole = Qt::UserRole, // the item's key (AnalysisReportPresenter::keyOf); empty for a merged tile
        FolderKeyRole,          // the folder it is drawn in
        NameRole,
        XRole,
        YRole,
        WidthRole,
        HeightRole,
        DepthRole,
        IsFolderRole,
        MergedRole,  // how many small items a merged tile stands for; 0 otherwise
        TypeRole,    // the file type's colour slot (StorageViews::FileType), -1 for a folder
        ToolTipRole, // name, size and share, in the language of the moment
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Lays out the folder of the tree in a width × height area; an empty tree clears the map.
    void show(const StorageTree* tree, StorageTree::Index folder, qreal width, qreal height);

private:
    const StorageTree* m_tree = nullptr;
    qint64 m_total = 0;
    std::vector<StorageTreemap::Tile> m_tiles;
};
