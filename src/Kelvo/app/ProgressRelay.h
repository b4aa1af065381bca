#pragma once

#include <QMutex>
#include <QVariantMap>

#include <memory>

// Hands progress from a worker thread to the main thread without the worker ever touching a
// QObject: the worker posts the latest state here, the controller polls it on a timer.
class ProgressRelay {
public:
    void post(QVariantMap progress)
    {
        QMutexLocker lock(&m_mutex);
        m_latest = std::move(progress);
        m_fresh = true;
    }
    // What a walk reports: where it is, how many items and bytes it has seen.
    void post(const QString& location, qint64 items, qint64 bytes)
    {
        post(QVariantMap{{QStringLiteral("location"), location},
                         {QStringLiteral("items"), items},
                         {QStringLiteral("bytes"), bytes}});
    }
    // The state posted since the last take, if any.
    std::optional<QVariantMap> take()
    {
        QMutexLocker lock(&m_mutex);
        if (!m_fresh)
            return std::nullopt;
        m_fresh = false;
        return m_latest;
    }

private:
    QMutex m_mutex;
    QVariantMap m_latest;
    bool m_fresh = false;
};
