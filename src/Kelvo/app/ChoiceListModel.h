#pragma once

#include "app/ResultListModel.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <functional>
#include <vector>

// A result list whose rows the user chooses for an action (a clean, a move to the Trash, an
// uninstall). The choice is kept here by row key, so it names the same items whatever the order, and
// everything the pages show of it (how many, how large, what it frees) is summed here, without
// wrapping. A subclass keeps the rows and says each one's key, size, whether it can be chosen at all
// and whether a new report chooses it; a row that cannot be chosen never is. Rows may be grouped in
// sections (ChoiceSectionModel lists them).
class ChoiceListModel : public ResultListModel {
    Q_OBJECT
    Q_PROPERTY(int chosenCount READ chosenCount NOTIFY choiceChanged)
    Q_PROPERTY(qint64 chosenBytes READ chosenBytes NOTIFY choiceChanged)
    // Of the chosen rows' bytes, what the action frees (the clean: after the protection list).
    Q_PROPERTY(qint64 chosenWillFree READ chosenWillFree NOTIFY choiceChanged)
    Q_PROPERTY(int choosableCount READ choosableCount NOTIFY choiceChanged)
    Q_PROPERTY(bool allChosen READ allChosen NOTIFY choiceChanged)
    Q_PROPERTY(bool someChosen READ someChosen NOTIFY choiceChanged)
    // Every row's bytes, chosen or not.
    Q_PROPERTY(qint64 totalBytes READ totalBytes NOTIFY choiceChanged)

public:
    enum Role { KeyRole = Qt::UserRole, ChosenRole, ChoosableRole, FirstRowRole };
    Q_ENUM(Role)

    using ResultListModel::ResultListModel;

    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int chosenCount() const { return m_totals.chosenCount; }
    qint64 chosenBytes() const { return m_totals.chosenBytes; }
    qint64 chosenWillFree() const { return m_totals.chosenWillFree; }
    int choosableCount() const { return m_totals.choosableCount; }
    bool allChosen() const { return choosableCount() > 0 && chosenCount() == choosableCount(); }
    bool someChosen() const { return chosenCount() > 0; }
    qint64 totalBytes() const { return m_totals.totalBytes; }

    // Chooses or leaves out the rows of these keys; keys of rows that cannot be chosen, or that the
    // list does not hold, are ignored.
    Q_INVOKABLE void setChosen(const QStringList& keys, bool wanted);
    Q_INVOKABLE void chooseAll(bool wanted);
    // The chosen keys, in row order, and as a set.
    QStringList chosenKeys() const;
    const QSet<QString>& chosen() const { return m_chosen; }

    // Rows leave the list (they went to the Trash), and with them the choice and the totals.
    void removeKeys(const QSet<QString>& keys);

    // What a subclass says of each row: its key, its size, of that what the action frees, whether it
    // can be chosen at all and whether a new report chooses it.
    virtual QString keyOf(int row) const = 0;
    virtual qint64 bytesOf(int row) const = 0;
    virtual qint64 willFreeOf(int row) const { return bytesOf(row); }
    virtual bool isChoosable(int) const { return true; }
    virtual bool chosenByDefault(int) const { return true; }
    // The section a row belongs to (one for all, unless a subclass groups them) and a section's
    // title, read from one of its rows when asked, in the language of that moment.
    virtual int sectionOf(int) const { return 0; }
    virtual QString sectionTitle(int) const { return {}; }

signals:
    void choiceChanged();

protected:
    // Which rows a new list starts with chosen: those each row says (a new scan); those of the old
    // choice it still lists (a choice the user made survives a rescan); or those each row says but
    // the ones the user left out of the old list (what the user excluded stays excluded).
    enum class NewChoice { byDefault, keepListed, keepLeftOut };
    // Runs replace (which swaps the subclass's rows) as one reset and starts the choice over.
    void replaceRows(const std::function<void()>& replace, NewChoice start);

    // The subclass's own roles, numbered from FirstRowRole.
    virtual QVariant rowData(int row, int role) const = 0;
    virtual QHash<int, QByteArray> rowRoleNames() const = 0;
    // Drops the rows of these keys from the subclass's storage.
    virtual void eraseKeys(const QSet<QString>& keys) = 0;

private:
    struct Totals {
        int chosenCount = 0;
        int choosableCount = 0;
        qint64 chosenBytes = 0;
        qint64 chosenWillFree = 0;
        qint64 totalBytes = 0;
    };
    // Takes the next choice, tells the rows whose box changed, and sums again.
    void choose(QSet<QString> next);
    void recount();

    QSet<QString> m_chosen;
    Totals m_totals;
};

// A choice list over a vector of rows, as every page's list is: it counts the rows, reads each one's
// key from the row itself and drops the rows whose keys left.
template <typename Row> class ChoiceRowsModel : public ChoiceListModel {
public:
    using ChoiceListModel::ChoiceListModel;

    int rowCount(const QModelIndex& parent = {}) const final
    {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    QString keyOf(int row) const final { return keyOfRow(rowAt(row)); }

protected:
    virtual QString keyOfRow(const Row& row) const = 0;
    const Row& rowAt(int row) const { return m_rows[std::size_t(row)]; }
    void eraseKeys(const QSet<QString>& keys) override
    {
        std::erase_if(m_rows, [&](const Row& row) { return keys.contains(keyOfRow(row)); });
    }

    std::vector<Row> m_rows;
};
