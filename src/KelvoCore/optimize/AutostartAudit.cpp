#include "optimize/AutostartAudit.h"

#include "optimize/OptimizeSteps.h"
#include "platform/FileWalker.h"
#include "platform/PathText.h"
#include "platform/TextFile.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace AutostartAudit {

namespace {

constexpr qsizetype maxNamesShown = 5;

struct DesktopEntry {
    QString name;
    QString exec;
    QString tryExec;
    bool hidden = false;
};

// The keys of the [Desktop Entry] group that decide whether an entry starts a program, and which.
DesktopEntry parse(const QString& text)
{
    DesktopEntry entry;
    bool inMainGroup = false;
    for (const QString& rawLine : TextFile::lines(text)) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inMainGroup || line.startsWith(QLatin1Char('#')) || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if (key == QLatin1String("Name"))
            entry.name = value;
        else if (key == QLatin1String("Exec"))
            entry.exec = value;
        else if (key == QLatin1String("TryExec"))
            entry.tryExec = value;
        else if (key == QLatin1String("Hidden"))
            entry.hidden = value == QLatin1String("true");
    }
    return entry;
}

// The words of an Exec line: separated by blanks, a double-quoted word may hold blanks, a backslash
// takes the next character as it is.
QStringList execWords(const QString& exec)
{
    QStringList words;
    QString word;
    bool quoted = false;
    bool inWord = false;
    for (qsizetype index = 0; index < exec.size(); ++index) {
        const QChar c = exec.at(index);
        if (c == QLatin1Char('\\') && index + 1 < exec.size()) {
            word += exec.at(++index);
            inWord = true;
        } else if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inWord = true;
        } else if (c.isSpace() && !quoted) {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

// The program an entry starts; none when it cannot be judged (an inline shell command, no Exec).
std::optional<QString> programOf(const DesktopEntry& entry)
{
    if (!entry.tryExec.isEmpty())
        return entry.tryExec;
    QStringList words = execWords(entry.exec);
    // "env VAR=value ... program": the program comes after the settings and env's options.
    if (!words.isEmpty() && QFileInfo(words.first()).fileName() == QLatin1String("env")) {
        words.removeFirst();
        while (!words.isEmpty() &&
               (words.first().contains(QLatin1Char('=')) || words.first().startsWith(QLatin1Char('-'))))
            words.removeFirst();
    }
    if (words.isEmpty() || words.first().isEmpty())
        return std::nullopt;
    static const QStringList shells{QStringLiteral("sh"), QStringLiteral("bash"), QStringLiteral("dash"),
                                    QStringLiteral("zsh")};
    if (words.size() > 1 && shells.contains(QFileInfo(words.first()).fileName()) &&
        words.at(1) == QLatin1String("-c"))
        return std::nullopt;
    return words.first();
}

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

bool programExists(const QString& program, const QString& home, const QString& systemRoot)
{
    if (QFileInfo(program).isAbsolute())
        return isExecutableFile(OptimizeSteps::located(program, home, systemRoot));
    // A relative path starts where the session starts programs: the home folder.
    if (program.contains(QLatin1Char('/')))
        return isExecutableFile(PathText::joined(home, program));
    QStringList folders = qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders << PathText::joined(home, QStringLiteral(".local/bin"));
    return std::any_of(folders.begin(), folders.end(), [&](const QString& folder) {
        return QFileInfo(folder).isAbsolute() &&
               isExecutableFile(OptimizeSteps::located(PathText::joined(folder, program), home, systemRoot));
    });
}

} // namespace

Entry readEntry(const QString& text)
{
    const DesktopEntry entry = parse(text);
    return {entry.name, entry.hidden, programOf(entry)};
}

Findings check(const QString& home, const QString& systemRoot)
{
    std::vector<FileWalker::Item> files =
        FileWalker::children(PathText::joined(home, QStringLiteral(".config/autostart")));
    std::sort(files.begin(), files.end(),
              [](const FileWalker::Item& a, const FileWalker::Item& b) { return a.name < b.name; });
    Findings findings;
    for (const FileWalker::Item& file : files) {
        if (!file.name.endsWith(QLatin1String(".desktop")))
            continue;
        Entry entry;
        try {
            entry = readEntry(TextFile::readUtf8(file.path, TextFile::listFileMaxBytes));
        } catch (const KelvoError&) {
            continue; // a broken entry starts nothing the session could run either
        }
        if (entry.hidden)
            continue;
        ++findings.entries;
        if (entry.program && !programExists(*entry.program, home, systemRoot))
            findings.missingNames << (entry.name.isEmpty() ? file.name : entry.name);
    }
    return findings;
}

QString detail(const Findings& findings)
{
    if (findings.entries == 0)
        return AppLocalization::localized(QStringLiteral("没有自启动项。"),
                                          QStringLiteral("No autostart entries."));
    if (findings.missingNames.isEmpty())
        return AppLocalization::localized(QStringLiteral("自启动项：%1 项，程序均存在。"),
                                          QStringLiteral("Autostart entries: %1, every program is present."))
            .arg(findings.entries);
    QStringList shown = findings.missingNames.mid(0, maxNamesShown);
    if (findings.missingNames.size() > maxNamesShown)
        shown << QStringLiteral("…");
    return AppLocalization::localized(QStringLiteral("程序已不存在的自启动项：%1 项（%2）"),
                                      QStringLiteral("Autostart entries whose program is missing: %1 (%2)"))
        .arg(findings.missingNames.size())
        .arg(shown.join(AppLocalization::localized(QStringLiteral("、"), QStringLiteral(", "))));
}

} // namespace AutostartAudit
