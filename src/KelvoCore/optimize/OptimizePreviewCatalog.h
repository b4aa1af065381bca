#pragma once

#include "optimize/OptimizePreviewReport.h"
#include "vocabulary/TargetSystem.h"

#include <QString>

#include <vector>

// The systems a catalogue exists for. The catalogues are data, so tests run either one anywhere.
// The fixed, ordered catalogue of maintenance steps: macOS has its 23, Linux its own steps with the
// same shape. The order is the order of every list built from it (preview entries, safeguard
// options, lines of the saved safeguard file).
namespace OptimizePreviewCatalog {
struct Item {
    QString id;
    QString zhName;
    QString enName;
    QString zhDescription;
    QString enDescription;

    // The id, the name and description in the display language, safe, no detail.
    OptimizePreviewReport::Entry localizedEntry() const;
};

const std::vector<Item>& items(TargetSystem system);
// The catalogue of the system Kelvo runs on.
const std::vector<Item>& items();
// The item with this id in the system's catalogue; none when there is none.
const Item* find(const QString& id, TargetSystem system = TargetSystems::built());

// For step identifiers received from elsewhere: the catalogue's texts when id is known, otherwise
// the fallbacks; safe as given; no detail.
OptimizePreviewReport::Entry entry(const QString& id, const QString& fallbackName,
                                   const QString& fallbackDescription, bool safe,
                                   TargetSystem system = TargetSystems::built());
} // namespace OptimizePreviewCatalog
