#pragma once

#include "analysis/AnalysisReport.h"

#include <QVariantMap>

// The storage analysis as the page shows it:
// {path, totalSize, totalFiles, hiddenItems, hiddenFileBytes, protectedFolders,
//  entries: [{key, name, path, nameNotUtf8, size, isDirectory, kind, share}], largeFiles: [...]}.
// Names and paths show bytes that are not UTF-8 as "\xFF"; key names the row's item exactly.
namespace AnalysisReportPresenter {
QVariantMap present(const AnalysisReport& report);
// A row's key: its bytes on disk, percent-encoded, and those bytes again. Text without "%" (a plain
// path) reads as its own UTF-8.
QString keyOf(const AnalysisReport::Entry& entry);
QByteArray bytesOfKey(const QString& key);
} // namespace AnalysisReportPresenter
