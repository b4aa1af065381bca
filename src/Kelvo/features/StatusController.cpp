#include "features/StatusController.h"

#include "app/AppModelSupport.h"
#include "features/StatusPresenter.h"

#include "status/ProcessControl.h"
#include "vocabulary/KelvoError.h"

#include <QFileInfo>
#include <QtConcurrent>

#include <algorithm>

using namespace AppModelSupport;
using namespace std::chrono_literals;

namespace {

// The environment's samplers, or the live ones.
StatusSampling samplingOf(const AppEnvironment& environment)
{
    StatusSampling sampling = environment.statusSampling;
    if (!sampling.sample && !sampling.listProcesses)
        sampling.sampleWithProcesses = [](const ProcessControl::Viewer& viewer, int rows) {
            return LocalSystemStatus::snapshotWithProcesses(viewer, rows);
        };
    return sampling;
}

// The program a command runs, when it names one by its full path (which may hold spaces).
QString executableOf(const QString& command)
{
    if (!command.startsWith(QLatin1Char('/')))
        return {};
    QString candidate;
    for (const QString& word : command.split(QLatin1Char(' '))) {
        candidate += (candidate.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

} // namespace

StatusController::StatusController(const FeatureContext& context, QObject* parent)
    : QObject(parent)
    , m_context(context)
    , m_cards(StatusPresenter::present(std::nullopt))
{
    connect(&m_sampling, &QFutureWatcherBase::finished, this, &StatusController::sampled);
    // The cards are texts in the language of the moment (the process rows redraw themselves).
    connect(&LocalizationSettings::shared(), &LocalizationSettings::preferenceChanged, this, [this] {
        m_cards = StatusPresenter::present(m_report);
        emit reportChanged();
    });
    m_nextSample.setSingleShot(true);
    m_nextSample.setInterval(samplingOf(context.environment).period);
    connect(&m_nextSample, &QTimer::timeout, this, [this] {
        if (m_live)
            refresh(false);
    });
}

void StatusController::setProcessSort(const QString& sort)
{
    if (sort == m_processSort || (sort != QLatin1String("cpu") && sort != QLatin1String("memory")))
        return;
    m_processSort = sort;
    updateProcessRows();
    emit processSortChanged();
}

void StatusController::setLive(bool live)
{
    if (live == m_live)
        return;
    m_live = live;
    emit liveChanged();
    if (!live)
        m_nextSample.stop();
    else if (!isRefreshing())
        refresh(false); // coming back samples at once; its end schedules the next one
}

bool StatusController::allUsersOffered() const
{
    return ProcessControl::currentViewer(false).uid == 0;
}

void StatusController::setAllUsers(bool allUsers)
{
    if (allUsers == m_allUsers)
        return;
    m_allUsers = allUsers;
    updateProcessRows();
    emit allUsersChanged();
    // The live sample holds only what the list showed before: another user's processes need a new one.
    refresh(false);
}

void StatusController::prime()
{
    if (!m_report && !isRefreshing())
        refresh(false);
}

void StatusController::refresh(bool announce)
{
    m_announce = m_announce || announce;
    if (isRefreshing())
        return;
    m_nextSample.stop();
    const StatusSampling sampling = samplingOf(m_context.environment);
    const ProcessControl::Viewer viewer = ProcessControl::currentViewer(m_allUsers);
    m_sampling.setFuture(QtConcurrent::run([sampling, viewer] {
        if (sampling.sampleWithProcesses)
            return sampling.sampleWithProcesses(viewer, processRowsShown);
        Processes processes = sampling.listProcesses();
        SystemReport report = sampling.sample(processes);
        return Sample{std::move(report), std::move(processes)};
    }));
    m_isRefreshing = true;
    emit refreshingChanged();
}

void StatusController::sampled()
{
    Sample sample = m_sampling.result();
    publish(std::move(sample.first), std::move(sample.second));
    if (std::exchange(m_announce, false))
        m_context.runs.setStatusFor(
            AppFeature::dashboard, both("状态已更新", "Status Updated"),
            both("电脑当前状态已经刷新。", "Current system status has been refreshed."));
    m_isRefreshing = false;
    emit refreshingChanged();
    emit refreshed();
    scheduleNextSample();
}

void StatusController::scheduleNextSample()
{
    if (m_live && !isRefreshing())
        m_nextSample.start();
}

void StatusController::publish(std::optional<SystemReport> report, Processes processes)
{
    m_report = std::move(report);
    m_cards = StatusPresenter::present(m_report);
    m_processUsage = std::move(processes);
    updateProcessRows();
    emit reportChanged();
}

void StatusController::setListHeld(bool held)
{
    if (held == m_listHeld)
        return;
    m_listHeld = held;
    emit listHeldChanged();
    if (!held && std::exchange(m_rowsBehind, false))
        updateProcessRows();
}

void StatusController::updateProcessRows()
{
    if (m_listHeld) {
        m_rowsBehind = true;
        return;
    }
    Processes shown = !m_processUsage.empty() ? m_processUsage
                      : m_report              ? m_report->topProcesses
                                              : Processes{};
    const ProcessControl::Viewer viewer = ProcessControl::currentViewer(m_allUsers);
    std::erase_if(shown, [&](const auto& process) { return !ProcessControl::isListed(process, viewer); });
    const bool byMemory = m_processSort == QLatin1String("memory");
    std::stable_sort(shown.begin(), shown.end(), [byMemory](const auto& a, const auto& b) {
        return byMemory ? a.memory.value_or(0) > b.memory.value_or(0) : a.cpu.value_or(0) > b.cpu.value_or(0);
    });
    std::vector<ProcessListModel::Row> rows;
    std::map<std::pair<int, qint64>, QString> executables;
    for (const SystemReport::ProcessInfo& process : shown) {
        if (int(rows.size()) == processRowsShown)
            break;
        const std::pair key{process.pid.value_or(0), process.startTime.value_or(-1)};
        const auto known = m_executables.find(key);
        const QString executable =
            known != m_executables.end() ? known->second : executableOf(process.command.value_or(QString()));
        executables.emplace(key, executable);
        rows.push_back({process, executable, ProcessControl::canTerminate(process, viewer)});
    }
    m_executables = std::move(executables);
    m_processRows.setRows(std::move(rows));
}

void StatusController::endProcess(int pid, const QString& startTime, const QString& name, bool force)
{
    // Two processes may share a name: the pid tells which one.
    const LocalText shownName = (name.isEmpty() ? both("进程", "the process") : LocalText::same(name)) +
                                LocalText::same(QStringLiteral(" (PID %1)").arg(pid));
    SystemReport::ProcessInfo target;
    target.pid = pid;
    bool known = false;
    if (const qint64 start = startTime.toLongLong(&known); known)
        target.startTime = start;
    try {
        ProcessControl::terminate(target, force);
    } catch (const KelvoError& error) {
        m_context.runs.setAlertMessage(LocalText::same(error.description()));
        return;
    }
    const auto samePid = [pid](const SystemReport::ProcessInfo& process) { return process.pid == pid; };
    std::erase_if(m_processUsage, samePid);
    if (m_report)
        std::erase_if(m_report->topProcesses, samePid);
    publish(std::move(m_report), std::move(m_processUsage));
    if (force)
        m_context.runs.setStatusFor(AppFeature::dashboard, both("已强制结束", "Force Quit"),
                                    both("已强制结束 ", "Force-quit ") + shownName + both("。", "."));
    else
        m_context.runs.setStatusFor(AppFeature::dashboard, both("已请求退出", "Termination Requested"),
                                    both("已请求 ", "Asked ") + shownName + both(" 退出。", " to quit."));
}
