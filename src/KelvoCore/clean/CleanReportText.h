#pragma once

#include "clean/CleanPreviewReport.h"

#include <QString>

// Writes a clean report in the older tool's terminal report format (sections, status symbols and
// the "Potential space:" summary), so that the command line speaks the format people's scripts
// already read and CleanPreviewParser reads it back to the same entries.
namespace CleanReportText {
// colour: wrap section titles and symbols in terminal colour codes (for a terminal, not a pipe).
QString terminalReport(const CleanPreviewReport& report, bool colour);
} // namespace CleanReportText
