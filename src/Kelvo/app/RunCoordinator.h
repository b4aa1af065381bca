#pragma once

#include "app/ProgressRelay.h"

#include "vocabulary/AppFeature.h"
#include "vocabulary/LocalText.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariant>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

// What a run does. A new run of a kind supersedes the one still going; a batch of moves to the Trash
// is a kind of its own, since a move cannot be called back.
enum class RunKind {
    status,
    update,
    immediate,
    cleanPreview,
    clean,
    optimizePreview,
    optimize,
    analysis,
    analysisTrash,
    purge,
    purgeTrash,
    installer,
    installerTrash,
    uninstall,
    uninstallTrash,
};

// The runs of every feature and what the window says about them: the running flags, the status
// line, the alert and the progress of the run that reports it. Requests are neither queued nor
// refused while something runs, but a new run of the same kind supersedes the one still going: the
// old one is cancelled and its result dropped, so a run's end only ever touches its own state. The
// status line and the alert are kept in both languages and read in the language of the moment, so
// they follow a language switch. Lives on the main thread.
class RunCoordinator : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY runStateChanged)
    // The page of the run that speaks for the window (an AppFeatureQml value); -1 when none does.
    Q_PROPERTY(int runningFeature READ runningFeatureValue NOTIFY runStateChanged)
    // True while the running work can still be stopped (a scan; never the deleting itself).
    Q_PROPERTY(bool canCancel READ canCancel NOTIFY runStateChanged)
    Q_PROPERTY(QString statusTitle READ statusTitle NOTIFY statusChanged)
    Q_PROPERTY(QString statusDetail READ statusDetail NOTIFY statusChanged)
    // The page the status line speaks for (an AppFeatureQml value); -1 when it speaks for every page.
    Q_PROPERTY(int statusFeature READ statusFeatureValue NOTIFY statusChanged)
    Q_PROPERTY(QVariant alertMessage READ alertMessageValue NOTIFY alertMessageChanged)
    // What a long run is doing now: {location, items, bytes}; empty when nothing reports progress.
    Q_PROPERTY(QVariantMap progress READ progress NOTIFY progressChanged)

public:
    // One run: its kind, the feature it belongs to, its own cancel flag and
    // the relay its worker posts progress to (followed by the window only for a cancellable run).
    struct Run {
        quint64 id = 0;
        RunKind kind = RunKind::immediate;
        std::optional<AppFeature> feature;
        std::shared_ptr<std::atomic_bool> cancelled = std::make_shared<std::atomic_bool>(false);
        mutable bool cancellable = false; // a scan; never the removing itself (see keepGoing)
        std::shared_ptr<ProgressRelay> relay = std::make_shared<ProgressRelay>();
    };
    using RunHandle = std::shared_ptr<const Run>;

    explicit RunCoordinator(QObject* parent = nullptr);

    bool isRunning() const { return !m_active.empty(); }
    std::optional<AppFeature> runningFeature() const;
    int runningFeatureValue() const;
    bool canCancel() const;
    QString statusTitle() const { return m_statusTitle.text(); }
    QString statusDetail() const { return m_statusDetail.text(); }
    int statusFeatureValue() const;
    std::optional<QString> alertMessage() const;
    QVariant alertMessageValue() const;
    QVariantMap progress() const { return m_progress; }

    // Texts are kept in both languages so that the status line and the alert follow a language
    // switch; a text made in one language only (a reason the engine gave) is passed as
    // LocalText::same.
    // The status belongs to the page of the run begun last, or to the page given (none: every page),
    // so that a page never shows what another page's work left behind.
    void setStatus(LocalText title, LocalText detail);
    void setStatusFor(std::optional<AppFeature> page, LocalText title, LocalText detail);
    void setStatusDetail(LocalText detail);
    void setAlertMessage(std::optional<LocalText> message);

    // Starts a run; a run of the same kind still going is cancelled and superseded. The window follows
    // the progress of a cancellable run and offers to stop it.
    RunHandle begin(RunKind kind, std::optional<AppFeature> feature, bool cancellable);
    // Ends a run. False when a later run of its kind superseded it: its result must be dropped.
    bool end(const RunHandle& run);
    bool isRunning(RunKind kind) const;
    // From here on the run can no longer be stopped: its removing has begun.
    void keepGoing(const RunHandle& run);

    // Ends the run and publishes its result; when it was cancelled, the status says so and what was
    // shown stays; when it was superseded, nothing happens; when it failed, the alert says so and the
    // status line is never left at "Working, please wait.".
    template <typename Result, typename Publish>
    QFuture<void> finish(const RunHandle& run, QFuture<std::optional<Result>> work, LocalText cancelledTitle,
                         Publish publish);
    // The failure of a run, as the window shows it.
    void failed(const RunHandle& run, const QString& why);

    Q_INVOKABLE void cancel();
    Q_INVOKABLE void dismissAlert() { setAlertMessage(std::nullopt); }
    // Cancels every run and waits at most `wait` for the workers, as when the window closes.
    void shutDown(std::chrono::milliseconds wait);

signals:
    void runStateChanged();
    void statusChanged();
    void alertMessageChanged();
    void progressChanged();

private:
    void setProgress(const QVariantMap& progress);
    const Run* progressRun() const;

    std::vector<RunHandle> m_active;
    quint64 m_nextId = 1;
    LocalText m_statusTitle;
    LocalText m_statusDetail;
    std::optional<AppFeature> m_statusFeature;
    std::optional<LocalText> m_alertMessage;
    QVariantMap m_progress;
    QTimer m_progressTimer;
};

template <typename Result, typename Publish>
QFuture<void> RunCoordinator::finish(const RunHandle& run, QFuture<std::optional<Result>> work,
                                     LocalText cancelledTitle, Publish publish)
{
    return work
        .then(
            this,
            [this, run, cancelledTitle, publish = std::move(publish)](std::optional<Result> result) mutable {
                const bool current = end(run);
                if (!current)
                    return; // superseded: a later run of the same kind speaks for both
                if (!result) {
                    setStatus(cancelledTitle, {QStringLiteral("保留了上一次的结果。"),
                                               QStringLiteral("The previous results are kept.")});
                    return;
                }
                publish(std::move(*result));
            })
        .onFailed(this, [this, run] { failed(run, QString()); });
}
