#include "clean/CleanWhitelistStore.h"

#include "platform/TextFile.h"

#include <QDir>
#include <QSet>

namespace CleanWhitelistStore {
namespace {

const QString headerTitle = QStringLiteral("# Kelvo Whitelist - Protected paths won't be deleted");
const QString headerHint = QStringLiteral("# Add one path or pattern per line to keep it safe.");

QStringList trimmedNonEmpty(const QStringList& entries)
{
    QStringList result;
    for (const QString& entry : entries) {
        const QString trimmed = entry.trimmed();
        if (!trimmed.isEmpty())
            result << trimmed;
    }
    return result;
}

} // namespace

QString configURL(const QString& home)
{
    return QDir(home).filePath(QStringLiteral(".config/kelvo/whitelist"));
}

QString legacyConfigURL(const QString& home)
{
    return QDir(home).filePath(QStringLiteral(".config/tarn/whitelist"));
}

const QStringList& defaultPatterns(TargetSystem system)
{
    // What both systems keep: caches that are really data (models, dependencies a build needs).
    static const QStringList shared{
        QStringLiteral("$HOME/.cache/huggingface*"), QStringLiteral("$HOME/.m2/repository/*"),
        QStringLiteral("$HOME/.gradle/caches/*"),    QStringLiteral("$HOME/.gradle/daemon/*"),
        QStringLiteral("$HOME/.ollama/models/*"),
    };
    static const QStringList macOS =
        shared + QStringList{
                     QStringLiteral("$HOME/Library/Caches/ms-playwright*"),
                     QStringLiteral("$HOME/Library/Caches/com.nssurge.surge-mac/*"),
                     QStringLiteral("$HOME/Library/Application Support/com.nssurge.surge-mac/*"),
                     QStringLiteral("$HOME/Library/Caches/org.R-project.R/R/renv/*"),
                     QStringLiteral("$HOME/Library/Caches/pypoetry/virtualenvs*"),
                     QStringLiteral("$HOME/Library/Caches/JetBrains*"),
                     QStringLiteral("$HOME/Library/Caches/com.jetbrains.toolbox*"),
                     QStringLiteral("$HOME/Library/Caches/tealdeer/tldr-pages"),
                     QStringLiteral("$HOME/Library/Application Support/JetBrains*"),
                     QStringLiteral("$HOME/Library/Caches/com.apple.finder"),
                     QStringLiteral("$HOME/Library/Mobile Documents*"),
                     QStringLiteral("$HOME/Library/Caches/com.apple.FontRegistry*"),
                     QStringLiteral("$HOME/Library/Caches/com.apple.spotlight*"),
                     QStringLiteral("$HOME/Library/Caches/com.apple.Spotlight*"),
                     QStringLiteral("$HOME/Library/Caches/CloudKit*"),
                     QStringLiteral("FINDER_METADATA"),
                 };
    // A Linux desktop's own places only: the macOS paths and Finder's metadata mean nothing there.
    static const QStringList linuxDesktop = shared + QStringList{
                                                         QStringLiteral("$HOME/.cache/ms-playwright*"),
                                                         QStringLiteral("$HOME/.cache/R/renv/*"),
                                                         QStringLiteral("$HOME/.cache/pypoetry/virtualenvs*"),
                                                         QStringLiteral("$HOME/.cache/JetBrains*"),
                                                         QStringLiteral("$HOME/.cache/tealdeer/tldr-pages"),
                                                         QStringLiteral("$HOME/.local/share/JetBrains*"),
                                                         QStringLiteral("$HOME/.cache/fontconfig*"),
                                                     };
    return system == TargetSystem::macOS ? macOS : linuxDesktop;
}

CleanWhitelistState load(const QString& home, TargetSystem system)
{
    // The older tool's file is only a fallback until the first save writes the program's own.
    std::optional<QString> text = TextFile::readListFile(configURL(home));
    if (!text)
        text = TextFile::readListFile(legacyConfigURL(home));
    if (!text)
        return {defaultPatterns(system)};
    const QStringList entries = parse(*text);
    // A list of nothing but comments is an untouched file, not a wish to protect nothing.
    return {entries.isEmpty() ? defaultPatterns(system) : entries};
}

void save(const CleanWhitelistState& state, const QString& home)
{
    // Makes home/.config/kelvo as needed, with no link on the way, and reports a folder that cannot be
    // reached or made in the display language.
    TextFile::writeUtf8Atomically(home, configURL(home), serialize(state));
}

QStringList deduplicated(const QStringList& entries)
{
    QStringList result;
    QSet<QString> seen;
    for (const QString& entry : entries) {
        if (!seen.contains(entry)) {
            seen.insert(entry);
            result << entry;
        }
    }
    return result;
}

QStringList parse(const QString& text)
{
    QStringList entries;
    for (const QString& line : trimmedNonEmpty(TextFile::lines(text))) {
        // An indented "#" is a comment too, since the test runs on the trimmed line.
        if (!line.startsWith(QLatin1Char('#')))
            entries << line;
    }
    return deduplicated(entries);
}

QString serialize(const CleanWhitelistState& state)
{
    QStringList fileLines{headerTitle, headerHint, QString()};
    fileLines << deduplicated(trimmedNonEmpty(state.patterns));
    return fileLines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace CleanWhitelistStore
