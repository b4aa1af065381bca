#pragma once

#include "clean/CleanPreviewReport.h"

#include <QVariantMap>

// The clean report as the Smart Clean page lists it: entries grouped by section in report order, each
// with the key it is chosen by and whether it can be chosen; a section lists its choosable keys.
// {summary, willFree, sectionCount, entryCount, cleanableCount, generatedAt,
//  sections: [{title, keys, entries: [{path, note, status, key, choosable}]}]}
namespace CleanReportPresenter {
QVariantMap present(const CleanPreviewReport& report);
} // namespace CleanReportPresenter
