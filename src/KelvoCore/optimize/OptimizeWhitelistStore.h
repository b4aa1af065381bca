#pragma once

#include "optimize/OptimizePreviewCatalog.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

// One step the user can protect in the safeguard editor.
struct OptimizeWhitelistOption {
    QString id;
    TargetSystem system = TargetSystems::built();

    // The catalogue name in the display language; the id itself when it is not in the catalogue.
    QString title() const;
    // "Skipped during optimization: " and the description; "Skip this optimization step." for an id
    // outside the catalogue.
    QString detail() const;
    bool operator==(const OptimizeWhitelistOption& other) const { return id == other.id; }
};

// The safeguard list: the steps a run skips, and the lines of the file that name no step of this
// system's catalogue, kept so that saving loses nothing.
struct OptimizeWhitelistState {
    QSet<QString> selectedKeys;
    QStringList customKeys;

    bool operator==(const OptimizeWhitelistState&) const = default;
};

// The file home/.config/kelvo/whitelist_optimize, read with fallbacks to the older tool's
// home/.config/tarn/whitelist_optimize and home/.config/tarn/whitelist_checks (read, never written).
namespace OptimizeWhitelistStore {
QString optimizeConfigURL(const QString& home);
QString optimizeLegacyConfigURL(const QString& home);
QString optimizeLegacyChecksURL(const QString& home);

// One option per catalogue step, in catalogue order.
std::vector<OptimizeWhitelistOption> options(TargetSystem system = TargetSystems::built());
// Nothing is protected by default.
QSet<QString> defaultSelectedKeys();

// The first of the three files that exists is read; none: nothing protected. Fails safe like the
// clean protection list: throws KelvoError, naming the file and the reason, when something is at the
// path but is not a readable regular file of at most 1 MB that is UTF-8 throughout, so a run never
// goes ahead on a guess.
OptimizeWhitelistState load(const QString& home, TargetSystem system = TargetSystems::built());
// Writes the new location atomically (the header, the protected steps in catalogue order, the custom
// keys not already written). Throws KelvoError when the folder cannot be made or the file cannot be
// written; the previous file then stays as it was.
void save(const OptimizeWhitelistState& state, const QString& home,
          TargetSystem system = TargetSystems::built());
// Later repeats removed, order kept.
QStringList deduplicated(const QStringList& list);
// The state a list text holds: comments and blank lines dropped, each line trimmed, the system's
// step identifiers protected, every other line a custom key (repeats dropped).
OptimizeWhitelistState parse(const QString& text, TargetSystem system);
// The file text save writes.
QString serialize(const OptimizeWhitelistState& state, TargetSystem system);
} // namespace OptimizeWhitelistStore
