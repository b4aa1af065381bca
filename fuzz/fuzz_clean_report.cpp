// The older tool's clean list and terminal report: any text is read without harm, and a report Kelvo
// writes reads back to the same entries wherever its texts can be written as they are.
#include "FuzzSupport.h"

#include "clean/CleanPreviewParser.h"
#include "clean/CleanReportText.h"

#include <array>
#include <vector>

using Status = CleanPreviewReport::EntryStatus;

namespace {

constexpr std::array allStatuses{Status::cleanable, Status::done,   Status::skipped, Status::info,
                                 Status::detail,    Status::review, Status::summary};

// A text that a line carries unchanged: no control or line-break characters (they are written as
// pictures) and no white space at either end (readers trim).
bool writable(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.unicode() == 0x85 || c.unicode() == 0x2028 ||
            c.unicode() == 0x2029)
            return false;
    return text == text.trimmed();
}

// A path that reads back as written: one holding the note marker "  # " is cut there (the format has
// no escape), and a variation selector right after the status symbol belongs to the symbol.
bool writablePath(const QString& path)
{
    return writable(path) && !path.contains(QLatin1String("  # ")) && !path.startsWith(QChar(0xFE0E)) &&
           !path.startsWith(QChar(0xFE0F));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::useEnglish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool()) {
        const std::string rest = input.ConsumeRemainingBytesAsString();
        CleanPreviewParser::parse(QString::fromUtf8(rest.data(), qsizetype(rest.size())));
        return 0;
    }

    CleanPreviewReport report;
    const int count = input.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < count; ++i) {
        const QString section = FuzzSupport::text(input, 16);
        const QString path = FuzzSupport::text(input, 48);
        std::optional<QString> note;
        if (input.ConsumeBool())
            note = FuzzSupport::text(input, 32);
        report.entries.push_back(
            {QUuid(), section, path, note, allStatuses[input.ConsumeIntegralInRange<std::size_t>(0, 6)]});
    }
    if (input.ConsumeBool())
        report.summary = FuzzSupport::text(input, 32);
    const bool colour = input.ConsumeBool();
    const CleanPreviewReport read =
        CleanPreviewParser::parse(CleanReportText::terminalReport(report, colour));

    // What the writer promises: the entries grouped by section in order of first appearance, the
    // summary entries left to the summary line.
    std::vector<CleanPreviewReport::Entry> expected;
    QStringList sections;
    for (const auto& entry : report.entries)
        if (entry.status != Status::summary && !sections.contains(entry.section))
            sections << entry.section;
    for (const QString& section : sections)
        for (const auto& entry : report.entries)
            if (entry.status != Status::summary && entry.section == section)
                expected.push_back(entry);
    for (const auto& entry : expected)
        if (!writable(entry.section) || !writablePath(entry.path) || (entry.note && !writable(*entry.note)))
            return 0;

    std::vector<CleanPreviewReport::Entry> entries;
    for (const auto& entry : read.entries)
        if (entry.status != Status::summary)
            entries.push_back(entry);
    KELVO_FUZZ_CHECK(entries.size() == expected.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        KELVO_FUZZ_CHECK(entries[i].section == expected[i].section);
        KELVO_FUZZ_CHECK(entries[i].path == expected[i].path);
        KELVO_FUZZ_CHECK(entries[i].status == expected[i].status);
        const bool noteWritten = expected[i].note && !expected[i].note->isEmpty() &&
                                 !expected[i].path.contains(QLatin1String("  #"));
        if (noteWritten)
            KELVO_FUZZ_CHECK(entries[i].note == expected[i].note);
    }
    KELVO_FUZZ_CHECK(read.summary.has_value());
    return 0;
}
