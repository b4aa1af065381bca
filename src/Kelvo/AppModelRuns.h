#pragma once

// The controller's cancellable background runs; included by the controller's sources only.

#include "AppModel.h"
#include "AppModelSupport.h"
#include "ProgressRelay.h"

#include <QtConcurrent>

#include <type_traits>

template <typename Work> auto AppModel::runCancellable(Work work)
{
    using Result = std::invoke_result_t<Work, const std::atomic_bool*, ProgressRelay&>;
    // Each run gets its own flag, so cancelling never reaches a later run.
    m_cancelRun = std::make_shared<std::atomic_bool>(false);
    const std::shared_ptr<std::atomic_bool> cancelled = m_cancelRun;
    const std::shared_ptr<ProgressRelay> relay = beginProgress();
    return QtConcurrent::run([work = std::move(work), cancelled, relay]() -> std::optional<Result> {
               Result result = work(cancelled.get(), *relay);
               if (cancelled->load())
                   return std::nullopt;
               return result;
           })
        .then(this, [this](std::optional<Result> result) {
            endProgress();
            return result;
        });
}

template <typename Report, typename Publish>
QFuture<void> AppModel::publishUnlessCancelled(QFuture<std::optional<Report>> run, const char* cancelledZh,
                                               const char* cancelledEn, Publish publish)
{
    return run.then(this, [this, cancelledZh, cancelledEn,
                           publish = std::move(publish)](std::optional<Report> report) mutable {
        if (!report) {
            // The texts are chosen now, in the language of the moment the run ended.
            setStatus(AppModelSupport::L(cancelledZh, cancelledEn),
                      AppModelSupport::L("保留了上一次的结果。", "The previous results are kept."));
            return;
        }
        publish(std::move(*report));
    });
}

template <typename T> void AppModel::storeStatistic(T Statistics::*field, const QString& key, T value)
{
    m_stats.*field = value;
    AppModelSupport::storeValue(key, QVariant::fromValue(value));
    emit statisticsChanged();
}

template <typename T> void AppModel::assign(T& member, const T& value, void (AppModel::*changed)())
{
    if (member == value)
        return;
    member = value;
    emit(this->*changed)();
}
