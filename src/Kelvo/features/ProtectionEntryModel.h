#pragma once

#include "app/ResultListModel.h"

#include "clean/CleanWhitelistMatcher.h"

#include <QStringList>
#include <QUrl>

#include <vector>

class CleanController;

// The protection list editor's rows: one per trimmed, non-empty line of the controller's editor text,
// with what keeps the entry from protecting anything in the language of the moment. Adding and
// removing rows writes the text back, so the text editor and Save see the same list.
class ProtectionEntryModel : public ResultListModel {
    Q_OBJECT
    // The home folder, where the folder chooser opens.
    Q_PROPERTY(QString home MEMBER m_home CONSTANT)

public:
    enum Role { EntryRole = Qt::UserRole, ProblemRole };

    ProtectionEntryModel(CleanController& controller, QString home, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Appends the entry (trimmed); false for a blank one.
    Q_INVOKABLE bool add(const QString& entry);
    // Appends a chosen folder, written with "~" for the home folder when it lies inside it.
    Q_INVOKABLE bool addFolder(const QUrl& folder);
    Q_INVOKABLE void remove(int row);

private:
    void readText();
    void writeText();

    CleanController& m_controller;
    QString m_home;
    QStringList m_entries;
    std::vector<CleanWhitelistMatcher::EntryProblem> m_problems;
};
