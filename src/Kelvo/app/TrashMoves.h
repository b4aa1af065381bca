#pragma once

// Moves to the Trash of what a scan listed, for every feature: each item through the guarded move
// (ScanPathGuard::moveToTrash) with the identity the scan recorded, on a worker thread while the
// window reads as running.

#include "app/FeatureContext.h"

#include "platform/FileIdentity.h"
#include "platform/FileRemover.h"
#include "vocabulary/LocalText.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace TrashMoves {

struct Item {
    QString path;                         // as shown, and as Batch::moved names it
    std::optional<FileIdentity> identity; // none: not from the scan, refused
    // The path as bytes on disk when `path` does not spell them (a name that is not UTF-8); the move
    // then goes by these bytes, so the item is exactly the one listed.
    QByteArray rawPath = {};
};

// What a batch did: the paths now in the Trash, and why the others did not go.
struct Batch {
    QSet<QString> moved;
    qint64 failed = 0;
    std::vector<FileRemover::LeftBehind> left;
};

// Every item through the guarded move; a refusal or failure counts and the rest goes on. Safe on a
// worker thread.
Batch moveAll(const std::vector<Item>& items, const QString& home);

// Runs moveAll for a run of `kind` on a worker, then finish(batch) on the main thread; nothing when a
// batch of that kind is still going. What did not go is said in the alert: the reason itself for a
// single item, the count and the first reasons for more.
void inBackground(const FeatureContext& context, QObject* owner, RunKind kind,
                  std::optional<AppFeature> feature, std::vector<Item> items,
                  std::function<void(const Batch&)> finish);
// The same for a batch that does more than moves (an application removed by its own tool before its
// leftovers go); single says whether the alert may be the one reason itself.
void inBackground(const FeatureContext& context, QObject* owner, RunKind kind,
                  std::optional<AppFeature> feature, std::function<Batch()> work, bool single,
                  std::function<void(const Batch&)> finish);

// The status line after a batch: "Not Completed" and `nothingMoved` when nothing went; otherwise
// `title` with `movedOne` or `movedMany` (taking the count), how many failed, and, given the bytes
// that moved, their size and that the space comes back only when the Trash is emptied: a move to the
// Trash frees nothing by itself.
struct Outcome {
    LocalText nothingMoved;
    LocalText title;
    LocalText movedOne;
    LocalText movedMany;
};
void sayHowItWent(RunCoordinator& runs, const Batch& batch, const Outcome& texts,
                  std::optional<qint64> movedBytes = std::nullopt);

} // namespace TrashMoves
