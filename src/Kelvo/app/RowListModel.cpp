#include "app/RowListModel.h"

RowListModel::RowListModel(QByteArrayList roles, QObject* parent)
    : QAbstractListModel(parent)
    , m_roles(std::move(roles))
{
}

int RowListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant RowListModel::data(const QModelIndex& index, int role) const
{
    const int column = role - Qt::UserRole;
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || column < 0 || column >= m_roles.size())
        return {};
    return m_rows[index.row()].value(QString::fromLatin1(m_roles[column]));
}

QHash<int, QByteArray> RowListModel::roleNames() const
{
    QHash<int, QByteArray> names;
    for (int i = 0; i < m_roles.size(); ++i)
        names.insert(Qt::UserRole + i, m_roles[i]);
    return names;
}

void RowListModel::setRows(QList<QVariantMap> rows)
{
    const bool countChanges = rows.size() != m_rows.size();
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
    if (countChanges)
        emit countChanged();
}

QStringList RowListModel::values(const QString& role) const
{
    QStringList values;
    values.reserve(m_rows.size());
    for (const QVariantMap& row : m_rows)
        values.append(row.value(role).toString());
    return values;
}
