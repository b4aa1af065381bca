#pragma once

#include <QAbstractListModel>

#include <functional>

// The base of every result list the views read. A subclass keeps its rows as the report gave them
// (data, not texts) and makes each text in data(), in the language of that moment; when the user
// switches the language every row is announced changed, so whatever is on screen is redrawn in the
// new language without a new scan. Rows are replaced whole when a new result arrives, never
// rebuilt on a read; the controller that owns a model decides the order, the views neither sort
// nor filter.
class ResultListModel : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    explicit ResultListModel(QObject* parent = nullptr);

    int count() const { return rowCount(); }

signals:
    void countChanged();

protected:
    // Runs replace (which swaps the subclass's rows) as one model reset.
    void resetRows(const std::function<void()>& replace);
    // Runs remove (which drops the rows the predicate names from the subclass's storage) and tells
    // the views which rows went, so the rest keep their delegates and scroll position.
    void removeRowsWhere(const std::function<bool(int row)>& goes, const std::function<void()>& remove);
    // Every row's texts are stale (the language changed).
    void announceAllChanged();
};
