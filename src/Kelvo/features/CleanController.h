#pragma once

#include "app/ChoiceSectionModel.h"
#include "app/FeatureContext.h"
#include "features/CleanEntryModel.h"
#include "features/ProtectionEntryModel.h"

#include "clean/CleanPreviewReport.h"
#include "clean/LocalCleanExecutor.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

// Smart Clean: the preview, the real clean and the protection list editor.
class CleanController : public QObject {
    Q_OBJECT
    // The last preview's entries with the choice (every choosable one after each preview) and its
    // totals, and their sections; empty until the first preview.
    Q_PROPERTY(CleanEntryModel* entries READ entries CONSTANT)
    Q_PROPERTY(ChoiceSectionModel* sections READ sections CONSTANT)
    Q_PROPERTY(bool hasReport READ hasReport NOTIFY reportChanged)
    Q_PROPERTY(int cleanableCount READ cleanableCount NOTIFY reportChanged)
    // The report's summary line, and what the clean would free after protection ("" when the report
    // does not know it), in the language of the moment.
    Q_PROPERTY(QString summary READ summary NOTIFY reportTextsChanged)
    Q_PROPERTY(QString willFree READ willFree NOTIFY reportTextsChanged)
    Q_PROPERTY(QString whitelistText READ whitelistText WRITE setWhitelistText NOTIFY whitelistTextChanged)
    // The same list as rows, each with what keeps it from protecting anything.
    Q_PROPERTY(ProtectionEntryModel* protectionEntries READ protectionEntries CONSTANT)
    Q_PROPERTY(bool showingProtectionSheet READ showingProtectionSheet WRITE setShowingProtectionSheet NOTIFY
                   showingProtectionSheetChanged)

public:
    CleanController(const FeatureContext& context, QObject* parent = nullptr);

    const std::optional<CleanPreviewReport>& report() const { return m_report; }
    CleanEntryModel* entries() { return &m_entries; }
    ChoiceSectionModel* sections() { return &m_sections; }
    bool hasReport() const { return m_report.has_value(); }
    int cleanableCount() const;
    QString summary() const;
    QString willFree() const;

    // A fresh preview; the previous report stays when it is cancelled.
    QFuture<void> preview();
    // Cleans exactly the chosen entries of what the user previewed (without a preview in memory, one
    // is taken first and everything it offers is cleaned), then previews again.
    QFuture<void> cleanNow();

    // The confirmation's sentences for the clean as it stands: what is chosen, the Trash on its own.
    QString confirmationNote() const;

    QString whitelistText() const { return m_whitelistText; }
    void setWhitelistText(const QString& text);
    // The editor's text as entries: split at every kind of line break, trimmed, blank lines dropped.
    QStringList whitelistLines() const;
    ProtectionEntryModel* protectionEntries() { return &m_protectionEntries; }
    bool showingProtectionSheet() const { return m_showingProtectionSheet; }
    void setShowingProtectionSheet(bool showing);
    // Loads the stored list into the editor; false (with an alert) when it cannot be read, so a save
    // never overwrites a list the user has not seen.
    Q_INVOKABLE bool loadWhitelistEditor();
    // Saves each entry as it is meant and names the lines written differently; true when saved.
    Q_INVOKABLE bool saveWhitelistEditor();
    Q_INVOKABLE void restoreWhitelistDefaults();

signals:
    void reportChanged();
    void reportTextsChanged(); // a new report, or the language switched
    void whitelistTextChanged();
    void showingProtectionSheetChanged();

private:
    // A real clean's end: its result, or why it stopped before removing anything.
    struct Outcome {
        std::optional<LocalCleanResult> result;
        QString stopReason;
    };
    void setReport(std::optional<CleanPreviewReport> report);
    QFuture<std::optional<CleanPreviewReport>> takePreview(const RunCoordinator::RunHandle& run);

    const FeatureContext& m_context;
    std::optional<CleanPreviewReport> m_report;
    CleanEntryModel m_entries;
    ChoiceSectionModel m_sections{m_entries, ChoiceSectionModel::Order::firstSeen};
    QString m_whitelistText;
    ProtectionEntryModel m_protectionEntries{*this, m_context.environment.home};
    bool m_showingProtectionSheet = false;
};
