#pragma once

#include "analysis/AnalysisReport.h"
#include "analysis/StorageViews.h"

#include <QByteArray>
#include <QString>

// What the Storage Analysis page says about a report besides its lists (AnalysisEntryModel), and how a
// row names its item.
namespace AnalysisReportPresenter {
// The analysed folder as shown: a name in it that is not UTF-8 shows its bytes as "\xFF".
QString shownPath(const AnalysisReport& report);
// What the walk left out and how to count it too, in the display language; empty when nothing was.
QString leftOutNote(const AnalysisReport& report);
// A row's key: its bytes on disk, percent-encoded, and those bytes again. Text without "%" (a plain
// path) reads as its own UTF-8.
QString keyOf(const AnalysisReport::Entry& entry);
QString keyOfPath(const QByteArray& path);
// A type of file's name in the language of the moment: "Video", "Disk images and packages", ...
QString typeName(StorageViews::FileType type);
QByteArray bytesOfKey(const QString& key);
} // namespace AnalysisReportPresenter
