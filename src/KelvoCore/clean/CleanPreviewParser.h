#pragma once

#include "clean/CleanPreviewReport.h"

#include <QString>

#include <optional>

// Reads a clean report out of the older tool's text: its saved clean list file or its captured
// terminal output.
namespace CleanPreviewParser {
QString defaultReportURL(const QString& home); // home/.config/kelvo/clean-list.txt
QString legacyReportURL(const QString& home);  // home/.config/tarn/clean-list.txt

// Throws KelvoError when the file cannot be read as UTF-8.
CleanPreviewReport parseFile(const QString& path);
// Never fails: unrecognised lines are dropped.
CleanPreviewReport parse(const QString& text);

CleanPreviewReport parseTerminalOutput(const QString& text);

struct TerminalLine {
    QString text;
    std::optional<LocalText> note;
    CleanPreviewReport::EntryStatus status;
};
std::optional<TerminalLine> parseTerminalLine(const QString& line);
} // namespace CleanPreviewParser
