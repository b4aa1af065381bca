#pragma once

#include "app/ResultListModel.h"

#include "optimize/OptimizeWhitelistStore.h"

#include <QSet>

#include <vector>

// The safeguard editor's options: one per step of the target system's catalogue, in its order, with
// its title and detail in the language of the moment and whether the list being edited holds it.
class SafeguardOptionModel : public ResultListModel {
    Q_OBJECT

public:
    enum Role { IdRole = Qt::UserRole, TitleRole, DetailRole, SafeguardedRole };

    explicit SafeguardOptionModel(TargetSystem system, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The steps the list being edited holds; the rows whose tick changes are announced.
    void setSafeguarded(const QSet<QString>& ids);

private:
    std::vector<OptimizeWhitelistOption> m_options;
    QSet<QString> m_safeguarded;
};
