#pragma once

#include "analysis/AnalysisReport.h"
#include "status/SystemReport.h"

#include <QByteArray>

// Reads the older tool's JSON reports.
namespace SystemReportParser {
// Throws KelvoError when the text is not a JSON object; missing keys read as absent or empty.
AnalysisReport parseAnalysis(const QByteArray& json);
// Throws KelvoError when the text is not a JSON object or a value has the wrong type for its key;
// missing keys and nulls read as absent or empty.
SystemReport parseStatus(const QByteArray& json);
} // namespace SystemReportParser
