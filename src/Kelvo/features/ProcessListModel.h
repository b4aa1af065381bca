#pragma once

#include "app/ResultListModel.h"

#include "status/SystemReport.h"

#include <optional>
#include <utility>
#include <vector>

// The Overview's busiest processes in the order the controller chose, each with what the page offers
// for it; the figures are made into texts when read. A new list changes the rows in place, each
// process known by its pid and start time: a row that stays keeps its delegate (and whatever the
// view has open on it) and is redrawn only when its figures changed; rows move, come and go.
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
    using Key = std::pair<std::optional<int>, std::optional<qint64>>;
    static Key keyOf(const Row& row) { return {row.process.pid, row.process.startTime}; }

    std::vector<Row> m_rows;
};
