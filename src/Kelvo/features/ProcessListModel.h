#pragma once

#include "app/ResultListModel.h"

#include "status/SystemReport.h"

#include <vector>

// The Overview's busiest processes in the order the controller chose, each with what the page offers
// for it; the figures are made into texts when read.
class ProcessListModel : public ResultListModel {
    Q_OBJECT

public:
    enum Role {
        PidRole = Qt::UserRole, // undefined when unknown
        StartTimeRole,          // its identity with the pid, as text; empty when unknown
        NameRole,
        CommandRole,
        ExecutableRole, // the program the command names by its full path, to show in the file manager
        CpuTextRole,
        MemoryTextRole,
        CanEndRole,
    };

    struct Row {
        SystemReport::ProcessInfo process;
        QString executable;
        bool canEnd = false;
    };

    using ResultListModel::ResultListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    void setRows(std::vector<Row> rows);

private:
    std::vector<Row> m_rows;
};
