#pragma once

#include "purge/PurgePreviewReport.h"

#include <QSet>
#include <QVariantMap>

// The project scan as the page shows it, grouped by ecosystem, the largest group first:
// {rootPath, totalBytes, totalSizeText, entryCount, chosenByDefault: [path],
//  groups: [{title, totalBytes, entries: [{name, path, target, byteCount, sizeText, detailText,
//  projectFile, chosenByDefault}]}]}.
// Artefacts already moved to the Trash stay listed but no longer count in any total.
namespace PurgeReportPresenter {
QVariantMap present(const PurgePreviewReport& report, const QSet<QString>& trashedPaths = {});
} // namespace PurgeReportPresenter
