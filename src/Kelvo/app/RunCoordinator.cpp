#include "app/RunCoordinator.h"

#include "app/LocalizationSettings.h"
#include "app/ViewEnums.h"

#include <QCoreApplication>
#include <QThreadPool>

#include <algorithm>

RunCoordinator::RunCoordinator(QObject* parent)
    : QObject(parent)
    // The first status line is Chinese whatever the language; every later one is localised.
    , m_statusTitle(LocalText::same(QStringLiteral("准备就绪")))
    , m_statusDetail(LocalText::same(QStringLiteral("选择一个项目开始检查。")))
{
    connect(&LocalizationSettings::shared(), &LocalizationSettings::preferenceChanged, this, [this] {
        emit statusChanged();
        if (m_alertMessage)
            emit alertMessageChanged();
    });
    m_progressTimer.setInterval(100);
    connect(&m_progressTimer, &QTimer::timeout, this, [this] {
        if (const Run* run = progressRun())
            if (std::optional<QVariantMap> latest = run->relay->take())
                setProgress(*latest);
    });
}

std::optional<AppFeature> RunCoordinator::runningFeature() const
{
    // The run started last speaks for the window.
    for (auto it = m_active.rbegin(); it != m_active.rend(); ++it)
        if ((*it)->feature)
            return (*it)->feature;
    return std::nullopt;
}

int RunCoordinator::runningFeatureValue() const
{
    const std::optional<AppFeature> feature = runningFeature();
    return feature ? AppFeatureQml::of(*feature) : -1;
}

bool RunCoordinator::canCancel() const
{
    return progressRun() != nullptr;
}

std::optional<QString> RunCoordinator::alertMessage() const
{
    return m_alertMessage ? std::optional(m_alertMessage->text()) : std::nullopt;
}

QVariant RunCoordinator::alertMessageValue() const
{
    return m_alertMessage ? QVariant(m_alertMessage->text()) : QVariant();
}

void RunCoordinator::setStatus(LocalText title, LocalText detail)
{
    m_statusTitle = std::move(title);
    m_statusDetail = std::move(detail);
    emit statusChanged();
}

void RunCoordinator::setStatusFor(std::optional<AppFeature> page, LocalText title, LocalText detail)
{
    m_statusFeature = page;
    setStatus(std::move(title), std::move(detail));
}

int RunCoordinator::statusFeatureValue() const
{
    return m_statusFeature ? AppFeatureQml::of(*m_statusFeature) : -1;
}

void RunCoordinator::setStatusDetail(LocalText detail)
{
    m_statusDetail = std::move(detail);
    emit statusChanged();
}

void RunCoordinator::setAlertMessage(std::optional<LocalText> message)
{
    m_alertMessage = std::move(message);
    emit alertMessageChanged();
}

RunCoordinator::RunHandle RunCoordinator::begin(RunKind kind, std::optional<AppFeature> feature,
                                                bool cancellable)
{
    for (const RunHandle& earlier : m_active)
        if (earlier->kind == kind)
            earlier->cancelled->store(true);
    std::erase_if(m_active, [&](const RunHandle& earlier) { return earlier->kind == kind; });
    auto run = std::make_shared<Run>();
    run->id = m_nextId++;
    run->kind = kind;
    run->feature = feature;
    if (feature)
        m_statusFeature = feature;
    run->cancellable = cancellable;
    m_active.push_back(run);
    if (cancellable) {
        setProgress({});
        m_progressTimer.start();
    }
    emit runStateChanged();
    return run;
}

bool RunCoordinator::end(const RunHandle& run)
{
    const auto found = std::find(m_active.begin(), m_active.end(), run);
    if (found == m_active.end())
        return false;
    const bool hadProgress = progressRun() == run.get();
    m_active.erase(found);
    if (hadProgress) {
        setProgress({});
        if (!progressRun())
            m_progressTimer.stop();
    }
    emit runStateChanged();
    return true;
}

bool RunCoordinator::isRunning(RunKind kind) const
{
    return std::any_of(m_active.begin(), m_active.end(),
                       [&](const RunHandle& run) { return run->kind == kind; });
}

void RunCoordinator::keepGoing(const RunHandle& run)
{
    const bool hadProgress = progressRun() == run.get();
    run->cancellable = false;
    if (hadProgress) {
        setProgress({});
        if (!progressRun())
            m_progressTimer.stop();
    }
    emit runStateChanged();
}

void RunCoordinator::failed(const RunHandle& run, const QString& why)
{
    end(run);
    const LocalText message = why.isEmpty()
                                  ? LocalText{QStringLiteral("这次操作没有完成，发生了意外错误。"),
                                              QStringLiteral("The run did not finish: something went wrong.")}
                                  : LocalText::same(why);
    setAlertMessage(message);
    setStatus({QStringLiteral("没有完成"), QStringLiteral("Not Completed")}, message);
}

void RunCoordinator::cancel()
{
    if (const Run* run = progressRun())
        run->cancelled->store(true);
}

void RunCoordinator::shutDown(std::chrono::milliseconds wait)
{
    for (const RunHandle& run : m_active)
        run->cancelled->store(true);
    QThreadPool::globalInstance()->waitForDone(int(wait.count()));
    // Their ends now count as superseded: the continuations already posted run while the controllers
    // still exist, and publish nothing.
    m_active.clear();
    m_progressTimer.stop();
    QCoreApplication::sendPostedEvents();
}

void RunCoordinator::setProgress(const QVariantMap& progress)
{
    m_progress = progress;
    emit progressChanged();
}

const RunCoordinator::Run* RunCoordinator::progressRun() const
{
    for (auto it = m_active.rbegin(); it != m_active.rend(); ++it)
        if ((*it)->cancellable)
            return it->get();
    return nullptr;
}
