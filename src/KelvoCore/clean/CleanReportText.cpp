#include "clean/CleanReportText.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/SizeText.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <utility>
#include <vector>

namespace CleanReportText {
namespace {

using EntryStatus = CleanPreviewReport::EntryStatus;

const QString reset = QStringLiteral("\x1B[0m");
const QString potentialSpace = QStringLiteral("Potential space:");

struct Symbol {
    QString text;
    QString colour;
};

Symbol symbolOf(EntryStatus status)
{
    switch (status) {
    case EntryStatus::cleanable:
        return {QStringLiteral("→"), QStringLiteral("\x1B[0;32m")};
    case EntryStatus::done:
        return {QStringLiteral("✓"), QStringLiteral("\x1B[0;32m")};
    case EntryStatus::skipped:
        return {QStringLiteral("◎"), QStringLiteral("\x1B[0;33m")};
    case EntryStatus::review:
        return {QStringLiteral("☞"), QStringLiteral("\x1B[0;33m")};
    case EntryStatus::detail:
        return {QStringLiteral("↳"), QStringLiteral("\x1B[0;90m")};
    case EntryStatus::info:
    case EntryStatus::summary: // never written as an entry line
        return {QStringLiteral("•"), QStringLiteral("\x1B[0;36m")};
    }
    Q_UNREACHABLE();
    return {};
}

// A text as one line that a terminal shows as it is: line breaks and other control characters (a
// file name may hold any of them) become their visible pictures ("␤", "␛"), so no name can start a
// line of its own or send codes to the terminal. Such a text reads back with the pictures.
QString printable(const QString& text)
{
    QString line = text;
    for (QChar& c : line) {
        const char16_t code = c.unicode();
        if (code < 0x20)
            c = QChar(char16_t(0x2400 + code));
        else if (code == 0x7F)
            c = QChar(char16_t(0x2421));
        else if (code == 0x85 || code == 0x2028 || code == 0x2029)
            c = QChar(char16_t(0x2424));
    }
    return line;
}

QString painted(const QString& text, const QString& colour, bool useColour)
{
    return useColour ? colour + text + reset : text;
}

// The older tool's readers look for "Potential space:", so a summary in other words (Chinese, or
// none) is put behind that prefix instead of being left out.
QString summaryLine(const std::optional<LocalText>& summary)
{
    const QString text = printable(summary ? summary->text().trimmed() : QString());
    if (text.startsWith(potentialSpace))
        return text;
    return text.isEmpty() ? potentialSpace : potentialSpace + QLatin1Char(' ') + text;
}

QString entryLine(const CleanPreviewReport::Entry& entry, bool colour)
{
    const Symbol symbol = symbolOf(entry.status);
    QString line = QStringLiteral("  ") + painted(symbol.text, symbol.colour, colour) + QLatin1Char(' ') +
                   printable(entry.path);
    // A blank note is left out: its trailing "  #" would otherwise read back as part of the path.
    // So is the note of a path that holds "  #" itself: a reader could not tell where the path ends,
    // and the path matters more. What cannot come back as written, the format having no escape: a
    // path holding "  # " (readers cut it there), white space around the path or the note, and
    // control characters (they are written as their pictures).
    const QString note = entry.note ? entry.note->text() : QString();
    if (!note.trimmed().isEmpty() && !entry.path.contains(QLatin1String("  #")))
        line += QStringLiteral("  # ") + printable(note);
    return line;
}

} // namespace

std::optional<QString> willFreeLine(const CleanPreviewReport& report)
{
    const bool measured = std::any_of(report.entries.begin(), report.entries.end(), [](const auto& entry) {
        return entry.status == EntryStatus::cleanable && entry.bytes;
    });
    if (!measured)
        return std::nullopt; // a report of the older tool does not know what protection keeps
    return AppLocalization::localized(QStringLiteral("保护名单保留之后可释放：%1"),
                                      QStringLiteral("Will free: %1 after protection"))
        .arg(SizeText::bytesWithDefaultUnits(report.willFreeBytes()));
}

QString confirmation(const CleanChoice::Totals& totals)
{
    const auto text = [](const char* zh, const char* en) {
        return AppLocalization::localized(QString::fromUtf8(zh), QString::fromUtf8(en));
    };
    QStringList sentences;
    if (totals.count > 0)
        sentences << (totals.count == 1 ? text("已选的 %1 个位置里的内容（%2）将被删除。",
                                               "The contents of %1 chosen place (%2) will be deleted.")
                                        : text("已选的 %1 个位置里的内容（%2）将被删除。",
                                               "The contents of %1 chosen places (%2) will be deleted."))
                         .arg(totals.count)
                         .arg(SizeText::bytesWithDefaultUnits(totals.bytes));
    if (totals.trashBytes)
        sentences << (totals.count > 0 ? text("废纸篓（%1）也会被清空。", "The Trash (%1) will be emptied.")
                                       : text("废纸篓（%1）将被清空。", "The Trash (%1) will be emptied."))
                         .arg(SizeText::bytesWithDefaultUnits(*totals.trashBytes));
    if (sentences.isEmpty())
        return text("没有选择任何项目，不会删除任何内容。", "Nothing is chosen; nothing will be deleted.");
    sentences << text("保护名单保留之后可释放 %1。", "%1 will be freed after protection.")
                     .arg(SizeText::bytesWithDefaultUnits(totals.willFree))
              << text("删除后无法撤销。", "Deletion cannot be undone.");
    const bool chinese = AppLocalization::currentLanguage() == AppResolvedLanguage::chinese;
    return sentences.join(chinese ? QString() : QStringLiteral(" "));
}

QString outcome(const LocalCleanResult& result)
{
    const auto text = [](const char* zh, const char* en) {
        return AppLocalization::localized(QString::fromUtf8(zh), QString::fromUtf8(en));
    };
    QString said = result.removedCount == 1
                       ? text("删除了 1 个文件", "Removed 1 file")
                       : text("删除了 %1 个文件", "Removed %1 files").arg(result.removedCount);
    if (result.failedCount > 0)
        said += text("，%1 个没有删除", ", %1 stayed").arg(result.failedCount);
    return said + text("，释放 %1。", ", freeing %1.").arg(SizeText::bytes(result.removedBytes));
}

QString banner(TargetSystem system)
{
    return system == TargetSystem::macOS ? QStringLiteral("Clean Your Mac")
                                         : QStringLiteral("Clean Your Computer");
}

QString terminalReport(const CleanPreviewReport& report, bool colour, TargetSystem system, bool dryRun)
{
    // Entry lines grouped under their section, sections in order of first appearance.
    std::vector<std::pair<QString, QStringList>> sections;
    QHash<QString, std::size_t> sectionIndex;
    for (const CleanPreviewReport::Entry& entry : report.entries) {
        if (entry.status == EntryStatus::summary)
            continue; // the summary line stands for these
        const QString section = entry.section.text();
        auto found = sectionIndex.constFind(section);
        if (found == sectionIndex.cend()) {
            found = sectionIndex.insert(section, sections.size());
            sections.emplace_back(section, QStringList());
        }
        sections[found.value()].second << entryLine(entry, colour);
    }

    const QString title = banner(system);
    QStringList lines{painted(title, QStringLiteral("\x1B[1m"), colour),
                      QString(title.size(), QLatin1Char('='))};
    for (const auto& [section, entryLines] : sections)
        lines << QString()
              << painted(QStringLiteral("➤ ") + printable(section), QStringLiteral("\x1B[1;34m"), colour)
              << entryLines;
    lines << QString() << summaryLine(report.summary);
    // Readers of the older format pass over a line without a status symbol, so this one is safe to add.
    if (const std::optional<QString> willFree = willFreeLine(report))
        lines << *willFree;
    if (dryRun)
        lines << QStringLiteral("Dry run complete");
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace CleanReportText
