#include "features/SafeguardOptionModel.h"

SafeguardOptionModel::SafeguardOptionModel(TargetSystem system, QObject* parent)
    : ResultListModel(parent)
    , m_options(OptimizeWhitelistStore::options(system))
{
}

int SafeguardOptionModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_options.size());
}

QHash<int, QByteArray> SafeguardOptionModel::roleNames() const
{
    return {{IdRole, "id"}, {TitleRole, "title"}, {DetailRole, "detail"}, {SafeguardedRole, "safeguarded"}};
}

QVariant SafeguardOptionModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const OptimizeWhitelistOption& option = m_options[std::size_t(index.row())];
    switch (role) {
    case IdRole:
        return option.id;
    case TitleRole:
        return option.title();
    case DetailRole:
        return option.detail();
    case SafeguardedRole:
        return m_safeguarded.contains(option.id);
    default:
        return {};
    }
}

void SafeguardOptionModel::setSafeguarded(const QSet<QString>& ids)
{
    const QSet<QString> before = std::exchange(m_safeguarded, ids);
    for (int row = 0; row < rowCount(); ++row) {
        const QString& id = m_options[std::size_t(row)].id;
        if (before.contains(id) != ids.contains(id))
            emit dataChanged(index(row), index(row), {SafeguardedRole});
    }
}
