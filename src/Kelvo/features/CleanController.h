#pragma once

#include "app/FeatureContext.h"

#include "clean/CleanPreviewReport.h"
#include "clean/LocalCleanExecutor.h"

#include <QFuture>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// Smart Clean: the preview, the real clean and the protection list editor.
class CleanController : public QObject {
    Q_OBJECT
    // {summary, sectionCount, entryCount, cleanableCount, generatedAt, sections: [{title, entries}]};
    // null until the first preview.
    Q_PROPERTY(QVariant report READ reportValue NOTIFY reportChanged)
    // The entries chosen for the clean, by key ({key: true}); every choosable one after each preview.
    Q_PROPERTY(QVariantMap chosen READ chosenValue NOTIFY choiceChanged)
    // What the choice amounts to: the chosen entries (the Trash included), their measured size, and
    // what the clean frees of them after protection.
    Q_PROPERTY(int chosenCount READ chosenCount NOTIFY choiceChanged)
    Q_PROPERTY(qint64 chosenBytes READ chosenBytes NOTIFY choiceChanged)
    Q_PROPERTY(qint64 chosenWillFree READ chosenWillFree NOTIFY choiceChanged)
    Q_PROPERTY(QString whitelistText READ whitelistText WRITE setWhitelistText NOTIFY whitelistTextChanged)
    Q_PROPERTY(bool showingProtectionSheet READ showingProtectionSheet WRITE setShowingProtectionSheet NOTIFY
                   showingProtectionSheetChanged)

public:
    CleanController(const FeatureContext& context, QObject* parent = nullptr);

    const std::optional<CleanPreviewReport>& report() const { return m_report; }
    QVariant reportValue() const;

    // A fresh preview; the previous report stays when it is cancelled.
    QFuture<void> preview();
    // Cleans exactly the chosen entries of what the user previewed (without a preview in memory, one
    // is taken first and everything it offers is cleaned), then previews again.
    QFuture<void> cleanNow();

    const QSet<QString>& chosen() const { return m_chosen; }
    QVariantMap chosenValue() const;
    int chosenCount() const;
    qint64 chosenBytes() const;
    qint64 chosenWillFree() const;
    // Chooses or leaves out the entries of these keys (one row, or a section's rows); keys the
    // report does not offer are ignored.
    Q_INVOKABLE void setChosen(const QStringList& keys, bool wanted);
    // The confirmation's sentences for the clean as it stands: what is chosen, the Trash on its own.
    QString confirmationNote() const;

    QString whitelistText() const { return m_whitelistText; }
    void setWhitelistText(const QString& text);
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
    void choiceChanged();
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
    QSet<QString> m_chosen;
    QString m_whitelistText;
    bool m_showingProtectionSheet = false;
};
