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
