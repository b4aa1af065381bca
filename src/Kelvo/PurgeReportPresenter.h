#pragma once

#include "purge/PurgePreviewReport.h"

#include <QVariantMap>

// The project scan as the page shows it, grouped by ecosystem in a fixed order:
// {rootPath, totalBytes, totalSizeText, entryCount, groups: [{title, totalBytes, entries: [...]}]}.
namespace PurgeReportPresenter {
QVariantMap present(const PurgePreviewReport& report);
} // namespace PurgeReportPresenter
