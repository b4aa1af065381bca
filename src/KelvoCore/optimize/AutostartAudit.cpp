#include "optimize/AutostartAudit.h"

#include "optimize/OptimizeSteps.h"
#include "platform/DesktopEntry.h"
#include "platform/FileWalker.h"
#include "platform/TextFile.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"
#include "vocabulary/PathText.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace AutostartAudit {

namespace {

constexpr qsizetype maxNamesShown = 5;

// The program an entry starts; none when it cannot be judged (an inline shell command, no Exec).
std::optional<QString> programOf(const DesktopEntry::Entry& entry, const QString& home)
{
    if (!entry.tryExec.isEmpty())
        return entry.tryExec;
    const QStringList words = DesktopEntry::commandWords(entry.exec);
    static const QStringList shells{QStringLiteral("sh"), QStringLiteral("bash"), QStringLiteral("dash"),
                                    QStringLiteral("zsh")};
    if (words.size() > 1 && shells.contains(QFileInfo(words.first()).fileName()) &&
        words.at(1) == QLatin1String("-c"))
        return std::nullopt;
    return DesktopEntry::program(entry.exec, home);
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

Entry readEntry(const QString& text, const QString& home)
{
    const DesktopEntry::Entry entry = DesktopEntry::parse(text);
    return {entry.name, entry.hidden, programOf(entry, home)};
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
            entry = readEntry(TextFile::readUtf8(file.path, TextFile::listFileMaxBytes), home);
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
