#pragma once

#include "app/FeatureContext.h"
#include "features/ProcessListModel.h"

#include "status/LocalSystemStatus.h"

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <chrono>
#include <map>
#include <optional>

// The Overview's live picture of the machine: the last status report and process list, the first
// sample at start-up, manual refreshes, the live loop while the page is on screen, and ending a
// process. Sampling runs on a worker; two refreshes never overlap.
class StatusController : public QObject {
    Q_OBJECT
    // The cards' texts (see StatusPresenter), made once per sample and again on a language switch;
    // drawn as "not checked yet" before the first sample.
    Q_PROPERTY(QVariantMap cards READ cards NOTIFY reportChanged)
    // The busiest processes in the chosen order.
    Q_PROPERTY(ProcessListModel* processes READ processes CONSTANT)
    // "cpu" or "memory"; the busiest first, equal ones in the sampler's order.
    Q_PROPERTY(QString processSort READ processSort WRITE setProcessSort NOTIFY processSortChanged)
    Q_PROPERTY(bool refreshing READ isRefreshing NOTIFY refreshingChanged)
    // Set by the Overview page while it is on screen and the window is not minimised.
    Q_PROPERTY(bool live READ isLive WRITE setLive NOTIFY liveChanged)
    // Run as root, the list shows root's own processes unless every user's are asked for; the switch
    // is offered only then.
    Q_PROPERTY(bool allUsersOffered READ allUsersOffered CONSTANT)
    Q_PROPERTY(bool allUsers READ allUsers WRITE setAllUsers NOTIFY allUsersChanged)
    // Set by the page while a row's menu or a confirmation is open: the rows hold still (the samples go
    // on) and take the latest figures when it is let go.
    Q_PROPERTY(bool listHeld READ isListHeld WRITE setListHeld NOTIFY listHeldChanged)

public:
    using Processes = LocalSystemStatus::Processes;
    static constexpr int processRowsShown = 12;

    StatusController(const FeatureContext& context, QObject* parent = nullptr);

    const std::optional<SystemReport>& report() const { return m_report; }
    const Processes& processUsage() const { return m_processUsage; }
    QVariantMap cards() const { return m_cards; }
    ProcessListModel* processes() { return &m_processRows; }
    QString processSort() const { return m_processSort; }
    void setProcessSort(const QString& sort);
    bool isRefreshing() const { return m_isRefreshing; }
    bool isLive() const { return m_live; }
    void setLive(bool live);
    bool allUsersOffered() const;
    bool allUsers() const { return m_allUsers; }
    void setAllUsers(bool allUsers);
    bool isListHeld() const { return m_listHeld; }
    void setListHeld(bool held);

    // The first sample, at start-up; nothing when a report is already there.
    void prime();
    // Samples the processes once and the report with them, then emits refreshed(). A refresh asked for
    // during another one joins it instead of sampling again; `announce` says so on the status line.
    void refresh(bool announce);
    // Ends (or with `force` kills) the process of a row, named by its pid and start time (the status
    // line names it with its pid); a refusal or failure (the process is no longer the one listed) is
    // said in the alert and the list stays as it was until the next sample.
    Q_INVOKABLE void endProcess(int pid, const QString& startTime, const QString& name, bool force);

signals:
    void reportChanged();
    void processSortChanged();
    void refreshingChanged();
    void liveChanged();
    void allUsersChanged();
    void listHeldChanged();
    void refreshed();

private:
    using Sample = std::pair<SystemReport, Processes>;
    void sampled();
    void publish(std::optional<SystemReport> report, Processes processes);
    void updateProcessRows();
    void scheduleNextSample();

    const FeatureContext& m_context;
    std::optional<SystemReport> m_report;
    QVariantMap m_cards;
    Processes m_processUsage;
    ProcessListModel m_processRows;
    QString m_processSort = QStringLiteral("cpu");
    QFutureWatcher<Sample> m_sampling;
    bool m_isRefreshing = false; // from the start of a sample until its result is published
    bool m_announce = false;
    bool m_live = false;
    bool m_allUsers = false;
    bool m_listHeld = false;
    bool m_rowsBehind = false; // a sample came while the list was held
    // The program of each row shown, looked for once per process.
    std::map<std::pair<int, qint64>, QString> m_executables;
    QTimer m_nextSample;
};
