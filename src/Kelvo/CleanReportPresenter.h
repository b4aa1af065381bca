#pragma once

#include "clean/CleanPreviewReport.h"

#include <QVariantMap>

// The clean report as the Smart Clean page lists it: entries grouped by section in report order.
// {summary, sectionCount, entryCount, cleanableCount, generatedAt,
//  sections: [{title, entries: [{path, note, status}]}]}
namespace CleanReportPresenter {
QVariantMap present(const CleanPreviewReport& report);
} // namespace CleanReportPresenter
