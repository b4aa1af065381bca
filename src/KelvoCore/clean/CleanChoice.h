#pragma once

#include "clean/CleanPreviewReport.h"

#include <QSet>
#include <QString>
#include <QtGlobal>

#include <optional>

// Which entries of a Smart Clean preview the user chose, and what the choice amounts to. An entry is
// chosen by its location, never by its position, so a choice names the same place whatever the order
// of the report.
namespace CleanChoice {
// The key an entry is chosen by: its location.
QString keyOf(const CleanPreviewReport::Entry& entry);
// Whether choosing the entry would remove anything: a cleanable place that holds bytes, or a file,
// link or special file of any size, that the protection list does not keep, or whose size the report
// does not know (the older tool's reports). A running browser's cache, an empty place and a place the list
// keeps whole are left out of every choice.
bool isChoosable(const CleanPreviewReport::Entry& entry);
// What the entry measures: its bytes, or the size its note gives (the older tool's reports); none when
// neither says. Of that, what a clean frees once the protection list has kept its part.
std::optional<qint64> measuredBytes(const CleanPreviewReport::Entry& entry);
qint64 freedBytes(const CleanPreviewReport::Entry& entry);
// The keys of every choosable entry: the choice a new preview starts with.
QSet<QString> everything(const CleanPreviewReport& report);
// The report holding only its chosen, choosable entries, in report order: what the clean is given.
CleanPreviewReport narrowed(const CleanPreviewReport& report, const QSet<QString>& chosen);

struct Totals {
    int count = 0;                                   // chosen entries besides the Trash
    qint64 bytes = 0;                                // their measured size
    std::optional<qint64> trashBytes = std::nullopt; // the Trash's size, when it is chosen
    qint64 willFree = 0; // of everything chosen, what the protection list does not keep

    bool operator==(const Totals&) const = default;
};
// The Trash is the catalogue's Trash place below home, on either system.
Totals totals(const CleanPreviewReport& report, const QSet<QString>& chosen, const QString& home);
} // namespace CleanChoice
