#pragma once

#include "analysis/AnalysisReport.h"

#include <QVariantMap>

// The storage analysis as the page shows it:
// {path, totalSize, totalFiles, hiddenItems, hiddenFileBytes, protectedFolders,
//  entries: [{name, path, size, isDirectory, kind, share}], largeFiles: [...]}.
namespace AnalysisReportPresenter {
QVariantMap present(const AnalysisReport& report);
} // namespace AnalysisReportPresenter
