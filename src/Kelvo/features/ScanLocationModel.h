#pragma once

#include "app/ResultListModel.h"

#include "installer/LocalInstallerPreview.h"

#include <vector>

// The places an installer scan searches, in its order: each one's folder, its name in the language of
// the moment, and whether it exists as last looked.
class ScanLocationModel : public ResultListModel {
    Q_OBJECT

public:
    enum Role { PathRole = Qt::UserRole, SourceRole, ExistsRole };
    Q_ENUM(Role)

    using ResultListModel::ResultListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    const std::vector<LocalInstallerPreview::ScanLocation>& locations() const { return m_locations; }
    // Looked at again: a folder made or removed since shows so.
    void setLocations(std::vector<LocalInstallerPreview::ScanLocation> locations);

private:
    std::vector<LocalInstallerPreview::ScanLocation> m_locations;
};
