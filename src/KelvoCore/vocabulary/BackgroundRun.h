#pragma once

#include <QFuture>
#include <QtConcurrent>

#include <atomic>
#include <memory>
#include <optional>
#include <type_traits>

// One piece of engine work on the shared thread pool that can be called off. The work gets the
// flag to poll; its result comes back, or none when the flag was set before it finished, so a
// cancelled scan's partial result is never mistaken for a whole one.
namespace BackgroundRun {

using CancelFlag = std::shared_ptr<std::atomic_bool>;

template <typename Work> using ResultOf = std::invoke_result_t<Work, const std::atomic_bool*>;

template <typename Work> QFuture<std::optional<ResultOf<Work>>> start(CancelFlag cancelled, Work work)
{
    if (!cancelled)
        cancelled = std::make_shared<std::atomic_bool>(false);
    return QtConcurrent::run([cancelled = std::move(cancelled),
                              work = std::move(work)]() mutable -> std::optional<ResultOf<Work>> {
        ResultOf<Work> result = work(cancelled.get());
        if (cancelled->load())
            return std::nullopt;
        return result;
    });
}

} // namespace BackgroundRun
