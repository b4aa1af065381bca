#include "features/ProtectionEntryModel.h"

#include "features/CleanController.h"

#include "vocabulary/PathText.h"


ProtectionEntryModel::ProtectionEntryModel(CleanController& controller, QString home, QObject* parent)
    : ResultListModel(parent)
    , m_controller(controller)
    , m_home(std::move(home))
{
    connect(&controller, &CleanController::whitelistTextChanged, this, &ProtectionEntryModel::readText);
    readText();
}

int ProtectionEntryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QHash<int, QByteArray> ProtectionEntryModel::roleNames() const
{
    return {{EntryRole, "entry"}, {ProblemRole, "problem"}};
}

QVariant ProtectionEntryModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const auto row = std::size_t(index.row());
    if (role == EntryRole)
        return m_entries[row];
    if (role != ProblemRole)
        return {};
    return CleanWhitelistMatcher::problemText(m_problems[row]).value_or(QString());
}

bool ProtectionEntryModel::add(const QString& entry)
{
    const QString trimmed = entry.trimmed();
    if (trimmed.isEmpty())
        return false;
    // The new row is announced alone, so the rows shown keep their place and focus.
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_entries << trimmed;
    m_problems.push_back(CleanWhitelistMatcher::problemOf(trimmed, m_home));
    endInsertRows();
    emit countChanged();
    writeText();
    return true;
}

bool ProtectionEntryModel::addFolder(const QUrl& folder)
{
    const QString path = folder.toLocalFile();
    return !path.isEmpty() && add(PathText::fromHome(path, m_home));
}

void ProtectionEntryModel::remove(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    removeRowsWhere([row](int each) { return each == row; },
                    [&] {
                        m_entries.removeAt(row);
                        m_problems.erase(m_problems.begin() + row);
                    });
    writeText();
}

void ProtectionEntryModel::readText()
{
    QStringList entries = m_controller.whitelistLines();
    std::vector<CleanWhitelistMatcher::EntryProblem> problems =
        CleanWhitelistMatcher::problemsOf(entries, m_home);
    if (entries != m_entries) {
        resetRows([&] {
            m_entries = std::move(entries);
            m_problems = std::move(problems);
        });
    } else if (problems != m_problems) { // a row added or removed changed whether another repeats
        m_problems = std::move(problems);
        announceAllChanged();
    }
}

void ProtectionEntryModel::writeText()
{
    m_controller.setWhitelistText(m_entries.join(QLatin1Char('\n')));
}
