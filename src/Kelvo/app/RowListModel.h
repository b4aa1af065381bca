#pragma once

#include <QAbstractListModel>
#include <QByteArrayList>
#include <QList>
#include <QStringList>
#include <QVariantMap>

// One result list as the views read it: rows of named values, one role per name, replaced whole
// when a new result arrives (never rebuilt on a read). The controller that owns it decides the
// order; the views neither sort nor filter.
class RowListModel : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    explicit RowListModel(QByteArrayList roles, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int count() const { return int(m_rows.size()); }
    const QList<QVariantMap>& rows() const { return m_rows; }
    void setRows(QList<QVariantMap> rows);

    // One value of every row, in order: the paths of the rows shown, for "select all".
    Q_INVOKABLE QStringList values(const QString& role) const;

signals:
    void countChanged();

private:
    QByteArrayList m_roles;
    QList<QVariantMap> m_rows;
};
