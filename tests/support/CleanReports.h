#pragma once

// Clean reports for table cells: entries built in one line each, and a report written out as text so
// a whole report compares in one QCOMPARE.

#include "clean/CleanPreviewReport.h"

#include <QMetaType>
#include <QStringList>

#include <optional>

Q_DECLARE_METATYPE(CleanPreviewReport)

namespace CleanReports {

using Report = CleanPreviewReport;
using Status = CleanPreviewReport::EntryStatus;

inline Report::Entry entry(const QString& section, const QString& path, Status status = Status::cleanable,
                           const std::optional<QString>& note = std::nullopt)
{
    return {QUuid::createUuid(), section, path, note, status};
}

// One line per entry, "section ¦ path ¦ note ¦ status", "∅" standing for no note; entries of the
// status left out are not written.
inline QString describe(const Report& report, std::optional<Status> leftOut = std::nullopt)
{
    QStringList lines;
    for (const Report::Entry& e : report.entries)
        if (e.status != leftOut)
            lines << QStringList{e.section, e.path, e.note.value_or(QStringLiteral("∅")),
                                 Report::rawValue(e.status)}
                         .join(QStringLiteral(" ¦ "));
    return lines.join(QLatin1Char('\n'));
}

} // namespace CleanReports
