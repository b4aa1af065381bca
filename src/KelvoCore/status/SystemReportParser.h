#pragma once

#include "analysis/AnalysisReport.h"

#include <QByteArray>

// Reads the older tool's JSON reports.
namespace SystemReportParser {
// Throws KelvoError when the text is not a JSON object; missing keys read as absent or empty.
AnalysisReport parseAnalysis(const QByteArray& json);
} // namespace SystemReportParser
