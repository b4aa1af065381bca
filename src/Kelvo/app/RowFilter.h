#pragma once

#include <QSortFilterProxyModel>
#include <QString>
#include <QStringList>

// A list as the page's filter field narrows it: the rows whose text under any of the named roles
// holds every word typed, in any case. An empty filter keeps every row. Rows keep their source order
// and act by their own keys, so choosing or moving a filtered row touches that row only.
class RowFilter : public QSortFilterProxyModel {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(QStringList roles READ roles WRITE setRoles NOTIFY rolesChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    explicit RowFilter(QObject* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    QStringList roles() const { return m_roleNames; }
    void setRoles(const QStringList& roles);
    int count() const { return rowCount(); }
    // The shown rows' values under one role, in order (the keys of what "Select All" chooses).
    Q_INVOKABLE QStringList values(const QString& role) const;

signals:
    void textChanged();
    void rolesChanged();
    void countChanged();

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override;

private:
    void refilter();

    QString m_text;
    QStringList m_words;
    QStringList m_roleNames;
    QList<int> m_roles;
};
