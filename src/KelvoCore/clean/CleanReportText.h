#pragma once

#include "clean/CleanChoice.h"
#include "clean/CleanPreviewReport.h"
#include "clean/LocalCleanExecutor.h"
#include "vocabulary/TargetSystem.h"

#include <QString>

#include <optional>

// Writes a clean report in the older tool's terminal report format (sections, status symbols and
// the "Potential space:" summary), so that the command line speaks the format people's scripts
// already read and CleanPreviewParser reads it back to the same entries.
namespace CleanReportText {
// colour: wrap section titles and symbols in terminal colour codes (for a terminal, not a pipe);
// system: whose banner heads it; dryRun: the report is all that happens, and its last line says so
// (not before a clean, which follows it).
QString terminalReport(const CleanPreviewReport& report, bool colour,
                       TargetSystem system = TargetSystems::built(), bool dryRun = true);
// The report's first line: "Clean Your Mac" on macOS, "Clean Your Computer" elsewhere; the reader
// passes over both.
QString banner(TargetSystem system);
// "Will free: S after protection", for a report this program measured; none for the older tool's.
std::optional<QString> willFreeLine(const CleanPreviewReport& report);
// What a clean of the chosen entries does, asked before it starts (the window's confirmation and the
// terminal's prompt): the count and size of the chosen places, the Trash on its own when it is chosen,
// what is freed after protection, and that deletion cannot be undone.
QString confirmation(const CleanChoice::Totals& totals);
// What a clean did, for the window and the terminal alike: the files removed, those that stayed and
// the space freed.
QString outcome(const LocalCleanResult& result);
} // namespace CleanReportText
