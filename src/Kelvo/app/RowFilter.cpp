#include "app/RowFilter.h"

RowFilter::RowFilter(QObject* parent)
    : QSortFilterProxyModel(parent)
{
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(this, signal, this, &RowFilter::countChanged);
    connect(this, &QAbstractItemModel::modelReset, this, &RowFilter::countChanged);
    connect(this, &QAbstractItemModel::layoutChanged, this, &RowFilter::countChanged);
    // The roles are looked up again for each source, since each list names its own.
    connect(this, &QAbstractProxyModel::sourceModelChanged, this, &RowFilter::refilter);
}

void RowFilter::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    m_words = text.simplified().split(' ', Qt::SkipEmptyParts);
    refilter();
    emit textChanged();
}

void RowFilter::setRoles(const QStringList& roles)
{
    if (roles == m_roleNames)
        return;
    m_roleNames = roles;
    refilter();
    emit rolesChanged();
}

void RowFilter::refilter()
{
    m_roles.clear();
    if (sourceModel()) {
        const QHash<int, QByteArray> names = sourceModel()->roleNames();
        for (const QString& role : m_roleNames)
            if (const int id = names.key(role.toUtf8(), -1); id >= 0)
                m_roles << id;
    }
    invalidateRowsFilter();
    emit countChanged();
}

QStringList RowFilter::values(const QString& role) const
{
    const int id = roleNames().key(role.toUtf8(), -1);
    QStringList values;
    for (int row = 0; id >= 0 && row < rowCount(); ++row)
        values << index(row, 0).data(id).toString();
    return values;
}

bool RowFilter::filterAcceptsRow(int row, const QModelIndex& parent) const
{
    if (m_words.isEmpty())
        return true;
    const QModelIndex at = sourceModel()->index(row, 0, parent);
    QString text;
    for (const int role : m_roles)
        text += at.data(role).toString() + '\n';
    return std::all_of(m_words.cbegin(), m_words.cend(),
                       [&](const QString& word) { return text.contains(word, Qt::CaseInsensitive); });
}
