#include "app/TrashMoves.h"

#include "app/AppModelSupport.h"

#include "platform/ScanPathGuard.h"
#include "vocabulary/SizeText.h"

#include <QtConcurrent>

namespace TrashMoves {

Batch moveAll(const std::vector<Item>& items, const QString& home)
{
    Batch batch;
    for (const Item& item : items) {
        if (const std::optional<QString> refusal =
                item.rawPath.isEmpty() ? ScanPathGuard::moveToTrash(item.path, item.identity, home)
                                       : ScanPathGuard::moveToTrash(item.rawPath, item.identity, home)) {
            ++batch.failed;
            if (qsizetype(batch.left.size()) < FileRemover::maxReported)
                batch.left.push_back({item.path, *refusal});
        } else {
            batch.moved.insert(item.path);
        }
    }
    return batch;
}

void inBackground(const FeatureContext& context, QObject* owner, RunKind kind,
                  std::optional<AppFeature> feature, std::vector<Item> items,
                  std::function<void(const Batch&)> finish)
{
    const bool single = items.size() == 1;
    inBackground(
        context, owner, kind, feature,
        [items = std::move(items), home = context.environment.home] { return moveAll(items, home); }, single,
        std::move(finish));
}

void inBackground(const FeatureContext& context, QObject* owner, RunKind kind,
                  std::optional<AppFeature> feature, std::function<Batch()> work, bool single,
                  std::function<void(const Batch&)> finish)
{
    RunCoordinator& runs = context.runs;
    // One batch of a kind at a time: a move cannot be called back, so a second one is not started.
    if (runs.isRunning(kind))
        return;
    const RunCoordinator::RunHandle run = runs.begin(kind, feature, false);
    QtConcurrent::run(std::move(work))
        .then(owner,
              [&runs, run, single, finish = std::move(finish)](const Batch& batch) {
                  runs.end(run);
                  if (batch.failed > 0)
                      runs.setAlertMessage(
                          single ? LocalText::same(batch.left.front().reason) : LocalText::made([&batch] {
                              return FileRemover::leftBehindText(batch.failed, batch.left);
                          }));
                  finish(batch);
              })
        .onFailed(owner, [&runs, run] { runs.failed(run, QString()); });
}

namespace {

LocalText stillInTheTrash(qint64 bytes)
{
    const LocalText size = LocalText::made([bytes] { return SizeText::bytes(bytes); });
    return {QStringLiteral("（%1），清空废纸篓后才会释放空间。").arg(size.chinese),
            QStringLiteral(" (%1); emptying the Trash frees the space.").arg(size.english)};
}

} // namespace

void sayHowItWent(RunCoordinator& runs, const Batch& batch, const Outcome& texts,
                  std::optional<qint64> movedBytes)
{
    const qint64 moved = batch.moved.size();
    if (moved == 0)
        runs.setStatus(AppModelSupport::both("没有完成", "Not Completed"), texts.nothingMoved);
    else
        runs.setStatus(texts.title,
                       (moved == 1 ? texts.movedOne : texts.movedMany.arg(moved)) +
                           (movedBytes ? stillInTheTrash(*movedBytes) : AppModelSupport::both("。", ".")) +
                           (batch.failed > 0
                                ? AppModelSupport::both("%1 个没有成功。", " %1 failed.").arg(batch.failed)
                                : LocalText()));
}

} // namespace TrashMoves
