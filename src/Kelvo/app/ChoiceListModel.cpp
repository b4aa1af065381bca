#include "app/ChoiceListModel.h"

#include "vocabulary/ByteCount.h"

QVariant ChoiceListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    switch (role) {
    case KeyRole:
        return keyOf(row);
    case ChosenRole:
        return m_chosen.contains(keyOf(row));
    case ChoosableRole:
        return isChoosable(row);
    default:
        return rowData(row, role);
    }
}

QHash<int, QByteArray> ChoiceListModel::roleNames() const
{
    QHash<int, QByteArray> names = rowRoleNames();
    names.insert(KeyRole, "key");
    names.insert(ChosenRole, "chosen");
    names.insert(ChoosableRole, "choosable");
    return names;
}

void ChoiceListModel::setChosen(const QStringList& keys, bool wanted)
{
    const QSet<QString> named(keys.begin(), keys.end());
    QSet<QString> next = m_chosen;
    for (int row = 0; row < rowCount(); ++row) {
        const QString key = keyOf(row);
        if (!isChoosable(row) || !named.contains(key))
            continue;
        if (wanted)
            next.insert(key);
        else
            next.remove(key);
    }
    choose(std::move(next));
}

void ChoiceListModel::chooseAll(bool wanted)
{
    QSet<QString> next;
    if (wanted)
        for (int row = 0; row < rowCount(); ++row)
            if (isChoosable(row))
                next.insert(keyOf(row));
    choose(std::move(next));
}

QStringList ChoiceListModel::chosenKeys() const
{
    QStringList keys;
    QSet<QString> listed;
    for (int row = 0; row < rowCount(); ++row)
        if (const QString key = keyOf(row); m_chosen.contains(key) && !listed.contains(key)) {
            listed.insert(key);
            keys.append(key);
        }
    return keys;
}

void ChoiceListModel::removeKeys(const QSet<QString>& keys)
{
    removeRowsWhere([&](int row) { return keys.contains(keyOf(row)); }, [&] { eraseKeys(keys); });
    m_chosen.subtract(keys);
    recount();
}

void ChoiceListModel::replaceRows(const std::function<void()>& replace, NewChoice start)
{
    const QSet<QString> before = m_chosen;
    QSet<QString> leftOut;
    for (int row = 0; row < rowCount(); ++row)
        if (isChoosable(row) && !m_chosen.contains(keyOf(row)))
            leftOut.insert(keyOf(row));
    resetRows([&] {
        replace();
        m_chosen.clear();
        for (int row = 0; row < rowCount(); ++row) {
            const QString key = keyOf(row);
            const bool wanted = start == NewChoice::keepListed ? before.contains(key)
                                : start == NewChoice::keepLeftOut
                                    ? chosenByDefault(row) && !leftOut.contains(key)
                                    : chosenByDefault(row);
            if (isChoosable(row) && wanted)
                m_chosen.insert(key);
        }
    });
    recount();
}

void ChoiceListModel::choose(QSet<QString> next)
{
    if (next == m_chosen)
        return;
    int first = -1;
    int last = -1;
    for (int row = 0; row < rowCount(); ++row) {
        const QString key = keyOf(row);
        if (m_chosen.contains(key) == next.contains(key))
            continue;
        first = first < 0 ? row : first;
        last = row;
    }
    m_chosen = std::move(next);
    if (first >= 0)
        emit dataChanged(index(first), index(last), {ChosenRole});
    recount();
}

void ChoiceListModel::recount()
{
    Totals totals;
    for (int row = 0; row < rowCount(); ++row) {
        totals.totalBytes = ByteCount::saturatingAdd(totals.totalBytes, bytesOf(row));
        if (!isChoosable(row))
            continue;
        ++totals.choosableCount;
        if (!m_chosen.contains(keyOf(row)))
            continue;
        ++totals.chosenCount;
        totals.chosenBytes = ByteCount::saturatingAdd(totals.chosenBytes, bytesOf(row));
        totals.chosenWillFree = ByteCount::saturatingAdd(totals.chosenWillFree, willFreeOf(row));
    }
    m_totals = totals;
    emit choiceChanged();
}
