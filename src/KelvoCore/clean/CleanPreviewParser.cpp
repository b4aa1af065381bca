#include "clean/CleanPreviewParser.h"

#include "platform/TextFile.h"

#include <QDir>
#include <QRegularExpression>

#include <algorithm>

namespace CleanPreviewParser {
namespace {

using EntryStatus = CleanPreviewReport::EntryStatus;

const QString noteMarker = QStringLiteral("  # ");

QString withoutColourCodes(QString text)
{
    static const QRegularExpression colourCode(QStringLiteral("\\x1B\\[[0-9;]*[A-Za-z]"));
    return text.remove(colourCode);
}

CleanPreviewReport::Entry makeEntry(const LocalText& section, const QString& path,
                                    const std::optional<LocalText>& note, EntryStatus status)
{
    return {QUuid::createUuid(), section, path, note, status};
}

std::optional<LocalText> sameInBoth(const std::optional<QString>& text)
{
    return text ? std::optional(LocalText::same(*text)) : std::nullopt;
}

std::optional<QString> nonEmpty(const QString& text)
{
    return text.isEmpty() ? std::nullopt : std::optional(text);
}

// The older tool writes its headers as "=== Title ===", but a shorter "==Title==" fence is read as
// a header too: no path line can begin with "=", so nothing that would be an entry is lost.
std::optional<QString> headerTitle(const QString& line)
{
    const QLatin1String fence("==");
    if (!line.startsWith(fence) || !line.endsWith(fence))
        return std::nullopt;
    qsizetype begin = 0;
    qsizetype end = line.size();
    const auto isFenceChar = [](QChar c) { return c == QLatin1Char('=') || c == QLatin1Char(' '); };
    while (begin < end && isFenceChar(line.at(begin)))
        ++begin;
    while (end > begin && isFenceChar(line.at(end - 1)))
        --end;
    return line.mid(begin, end - begin).trimmed();
}

CleanPreviewReport parseCleanList(const QString& text)
{
    CleanPreviewReport report;
    report.generatedAt = QDateTime::currentDateTimeUtc();
    // This default title exists only in Chinese, so it is not localised.
    LocalText section = LocalText::same(QStringLiteral("可清理项目"));
    for (const QString& rawLine : TextFile::lines(text)) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (const std::optional<QString> title = headerTitle(line)) {
            if (!title->isEmpty())
                section = LocalText::same(*title);
            continue;
        }
        QStringList parts = line.split(noteMarker);
        const QString path = parts.takeFirst().trimmed();
        if (!path.startsWith(QLatin1Char('/')) && !path.startsWith(QLatin1Char('~')))
            continue;
        report.entries.push_back(makeEntry(
            section, path, sameInBoth(nonEmpty(parts.join(noteMarker).trimmed())), EntryStatus::cleanable));
    }
    return report;
}

// The texts a parse adds of its own: section titles and the notes that name a status.
struct Texts {
    LocalText overview{QStringLiteral("概览"), QStringLiteral("Overview")};
    LocalText summary{QStringLiteral("汇总"), QStringLiteral("Summary")};
    LocalText cleanable{QStringLiteral("可清理"), QStringLiteral("Cleanable")};
    LocalText done{QStringLiteral("已完成"), QStringLiteral("Done")};
    LocalText skipped{QStringLiteral("已跳过"), QStringLiteral("Skipped")};
    LocalText review{QStringLiteral("待确认"), QStringLiteral("Review")};
    LocalText detail{QStringLiteral("详情"), QStringLiteral("Detail")};
    LocalText info{QStringLiteral("信息"), QStringLiteral("Info")};

    LocalText label(EntryStatus status) const
    {
        switch (status) {
        case EntryStatus::cleanable:
            return cleanable;
        case EntryStatus::done:
            return done;
        case EntryStatus::skipped:
            return skipped;
        case EntryStatus::review:
            return review;
        case EntryStatus::detail:
            return detail;
        case EntryStatus::info:
        case EntryStatus::summary: // no symbol stands for summary; its lines are known by their words
            return info;
        }
        Q_UNREACHABLE();
        return {};
    }
};

std::optional<EntryStatus> statusOfSymbol(QChar symbol)
{
    switch (symbol.unicode()) {
    case 0x2192: // →
        return EntryStatus::cleanable;
    case 0x2713: // ✓
        return EntryStatus::done;
    case 0x25CE: // ◎
        return EntryStatus::skipped;
    case 0x261E: // ☞
        return EntryStatus::review;
    case 0x21B3: // ↳
        return EntryStatus::detail;
    case 0x2022: // •
    case 0x2699: // ⚙
        return EntryStatus::info;
    default:
        return std::nullopt;
    }
}

// Markers only the tool's terminal output holds: a section arrow or a closing line.
bool isTerminalOutput(const QString& text)
{
    return text.contains(QStringLiteral("➤")) || text.contains(QLatin1String("Dry run complete")) ||
           text.contains(QLatin1String("Cleanup complete"));
}

bool isShellError(const QString& line)
{
    return line.contains(QLatin1String("/lib/clean/")) && line.contains(QLatin1String(": line ")) &&
           line.contains(QLatin1String("unbound variable"));
}

bool isRule(const QString& line)
{
    return std::all_of(line.cbegin(), line.cend(), [](QChar c) { return c == QLatin1Char('='); });
}

std::optional<TerminalLine> terminalLine(const QString& line, const Texts& texts)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const std::optional<EntryStatus> status = statusOfSymbol(trimmed.front());
    if (!status)
        return std::nullopt;
    QString rest = trimmed.mid(1);
    // "⚙️" and friends: an emoji variation selector belongs to the symbol, not to the text.
    if (rest.startsWith(QChar(0xFE0F)) || rest.startsWith(QChar(0xFE0E)))
        rest.remove(0, 1);
    // "  # " is where the writer puts an entry's note; without it the note names the status.
    const qsizetype marker = rest.indexOf(noteMarker);
    if (marker < 0)
        return TerminalLine{rest.trimmed(), texts.label(*status), *status};
    return TerminalLine{rest.left(marker).trimmed(),
                        LocalText::same(rest.mid(marker + noteMarker.size()).trimmed()), *status};
}

} // namespace

QString defaultReportURL(const QString& home)
{
    return QDir(home).filePath(QStringLiteral(".config/kelvo/clean-list.txt"));
}

QString legacyReportURL(const QString& home)
{
    return QDir(home).filePath(QStringLiteral(".config/tarn/clean-list.txt"));
}

CleanPreviewReport parseFile(const QString& path)
{
    return parse(TextFile::readUtf8(path));
}

CleanPreviewReport parse(const QString& text)
{
    const QString cleaned = withoutColourCodes(text);
    return isTerminalOutput(cleaned) ? parseTerminalOutput(cleaned) : parseCleanList(cleaned);
}

CleanPreviewReport parseTerminalOutput(const QString& text)
{
    const Texts texts;
    CleanPreviewReport report;
    report.generatedAt = QDateTime::currentDateTimeUtc();
    LocalText section = texts.overview;
    for (const QString& rawLine : TextFile::lines(withoutColourCodes(text))) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || isRule(line) || line == QLatin1String("Clean Your Mac") ||
            line == QLatin1String("Clean Your Computer"))
            continue;
        if (line.startsWith(QStringLiteral("➤"))) {
            section = LocalText::same(line.mid(1).trimmed());
            continue;
        }
        // The tool's shell errors never start with a status symbol; an entry whose path happens to
        // hold the same words is kept.
        if (isShellError(line) && !statusOfSymbol(line.front()))
            continue;
        if (line.startsWith(QLatin1String("Potential space:")) ||
            line.startsWith(QLatin1String("Space freed:"))) {
            report.entries.push_back(makeEntry(texts.summary, line, std::nullopt, EntryStatus::summary));
            report.summary = LocalText::same(line);
        } else if (line.startsWith(QLatin1String("Detailed file list:")) ||
                   line.startsWith(QLatin1String("Use "))) {
            report.entries.push_back(makeEntry(texts.summary, line, std::nullopt, EntryStatus::detail));
        } else if (const std::optional<TerminalLine> parsed = terminalLine(line, texts)) {
            report.entries.push_back(makeEntry(section, parsed->text, parsed->note, parsed->status));
        }
    }
    return report;
}

// A line without a leading status symbol gives nothing, so it is dropped: the tool's progress and
// closing lines ("Dry run complete") are not entries, and a report written by Kelvo reads back to
// exactly the entries it was written from.
std::optional<TerminalLine> parseTerminalLine(const QString& line)
{
    return terminalLine(line, Texts());
}

} // namespace CleanPreviewParser
