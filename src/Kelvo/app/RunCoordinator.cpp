#include "app/RunCoordinator.h"

#include "vocabulary/AppLocalization.h"

#include <QCoreApplication>
#include <QThreadPool>

#include <algorithm>

namespace {

QString text(const char* zh, const char* en)
{
    return AppLocalization::localized(QString::fromUtf8(zh), QString::fromUtf8(en));
}

} // namespace

RunCoordinator::RunCoordinator(QObject* parent)
    : QObject(parent)
    // The first status line is Chinese whatever the language; every later one is localised.
    , m_statusTitle(QStringLiteral("准备就绪"))
    , m_statusDetail(QStringLiteral("选择一个项目开始检查。"))
{
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

QString RunCoordinator::runningFeatureRawValue() const
{
    const std::optional<AppFeature> feature = runningFeature();
    return feature ? AppFeatures::rawValue(*feature) : QString();
}

bool RunCoordinator::canCancel() const
{
    return progressRun() != nullptr;
}

QVariant RunCoordinator::alertMessageValue() const
{
    return m_alertMessage ? QVariant(*m_alertMessage) : QVariant();
}

void RunCoordinator::setStatus(const QString& title, const QString& detail)
{
    m_statusTitle = title;
    m_statusDetail = detail;
    emit statusChanged();
}

void RunCoordinator::setAlertMessage(std::optional<QString> message)
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
    const QString message = why.isEmpty() ? text("这次操作没有完成，发生了意外错误。",
                                                 "The run did not finish: something went wrong.")
                                          : why;
    setAlertMessage(message);
    setStatus(text("没有完成", "Not Completed"), message);
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
