#include "cli/CommandLine.h"

#include "analysis/LocalAnalysis.h"
#include "clean/CleanReportText.h"
#include "clean/LocalCleanExecutor.h"
#include "clean/LocalCleanPreview.h"
#include "installer/LocalInstallerPreview.h"
#include "platform/HomeFolder.h"
#include "purge/LocalPurgePreview.h"
#include "purge/PurgeEcosystem.h"
#include "uninstall/LocalUninstallPreview.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"
#include "vocabulary/SizeText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include <optional>

namespace CommandLine {

namespace {

QString L(const char* zh, const char* en)
{
    return AppLocalization::localized(QString::fromUtf8(zh), QString::fromUtf8(en));
}

const QStringList commandWords{
    QStringLiteral("clean"),     QStringLiteral("analyze"),   QStringLiteral("purge"),
    QStringLiteral("installer"), QStringLiteral("uninstall"), QStringLiteral("help"),
    QStringLiteral("--help"),    QStringLiteral("-h"),        QStringLiteral("version"),
    QStringLiteral("--version"), QStringLiteral("--lang")};

struct Request {
    QString command;
    QStringList flags;
    QString error; // set when the words do not form a command
};

// Takes --lang out (it applies to the whole run) and splits the rest into a command and its flags.
Request parse(QStringList words)
{
    Request request;
    const qsizetype lang = words.indexOf(QStringLiteral("--lang"));
    if (lang >= 0) {
        const QString value = words.value(lang + 1);
        if (value == QLatin1String("zh"))
            AppLocalization::overrideLanguage(AppResolvedLanguage::chinese);
        else if (value == QLatin1String("en"))
            AppLocalization::overrideLanguage(AppResolvedLanguage::english);
        else
            request.error = L("--lang 只接受 en 或 zh。", "--lang takes en or zh.");
        words.remove(lang, std::min<qsizetype>(2, words.size() - lang));
    }
    if (words.isEmpty()) {
        request.command = QStringLiteral("help");
        return request;
    }
    request.command = words.takeFirst();
    if (request.command == QLatin1String("--help") || request.command == QLatin1String("-h"))
        request.command = QStringLiteral("help");
    if (request.command == QLatin1String("--version"))
        request.command = QStringLiteral("version");
    request.flags = words;
    return request;
}

QString helpText()
{
    return L("用法：kelvo [命令] [选项]\n"
             "\n"
             "不带命令时打开 Kelvo 窗口。\n"
             "\n"
             "命令：\n"
             "  clean --dry-run       预览可清理的项目，不删除任何内容\n"
             "  clean --dry-run --json  以 JSON 输出预览\n"
             "  clean                 预览后询问确认，再清理\n"
             "  clean --yes           预览后不询问，直接清理\n"
             "  analyze [--json] 路径  列出占用空间最多的项目和文件\n"
             "  purge --dry-run [--json] 路径  查找项目里的构建产物，不删除任何内容\n"
             "  installer --dry-run [--json]  查找下载位置里的安装包\n"
             "  uninstall --dry-run [--json]  列出已安装的应用及其残留\n"
             "  --version             显示版本\n"
             "  --help                显示这段说明\n"
             "\n"
             "选项：\n"
             "  --lang en|zh          本次运行使用的语言\n"
             "\n"
             "保护名单（~/.config/kelvo/whitelist）里的位置永远不会被清理。\n",
             "Usage: kelvo [command] [options]\n"
             "\n"
             "Without a command, Kelvo opens its window.\n"
             "\n"
             "Commands:\n"
             "  clean --dry-run       preview what can be cleaned; nothing is deleted\n"
             "  clean --dry-run --json  the preview as JSON\n"
             "  clean                 preview, ask for confirmation, then clean\n"
             "  clean --yes           preview and clean without asking\n"
             "  analyze [--json] PATH  what takes the space in a folder\n"
             "  purge --dry-run [--json] PATH  build artefacts in project folders; nothing is deleted\n"
             "  installer --dry-run [--json]  installer files in the download places\n"
             "  uninstall --dry-run [--json]  installed apps with their leftovers\n"
             "  --version             show the version\n"
             "  --help                show this help\n"
             "\n"
             "Options:\n"
             "  --lang en|zh          the language of this run\n"
             "\n"
             "Locations on the protection list (~/.config/kelvo/whitelist) are never cleaned.\n");
}

int usageError(Streams& streams, const QString& message)
{
    streams.err << message << '\n'
                << L("运行 kelvo --help 查看用法。", "Run kelvo --help for usage.") << '\n';
    streams.err.flush();
    return 2;
}

// What a command accepts: the flags it knows and, for a command that only lists from the terminal,
// why it does nothing without --dry-run.
struct FlagRules {
    QStringList known;
    QString dryRunOnly = {}; // empty: the command may also act
};

// The usage error for the first flag the command does not know, or for a listing command asked to
// act; none when the flags are fine.
std::optional<QString> flagError(const QString& command, const QStringList& flags, const FlagRules& rules)
{
    for (const QString& flag : flags)
        if (!rules.known.contains(flag))
            return L("%1 不认识这个选项：", "%1 does not know this option: ").arg(command) + flag;
    if (!rules.dryRunOnly.isEmpty() && !flags.contains(QStringLiteral("--dry-run")))
        return rules.dryRunOnly;
    return std::nullopt;
}

bool confirmed(Streams& streams)
{
    streams.out << L("删除这些项目吗？此操作无法撤销。[y/N] ",
                     "Delete these items? This cannot be undone. [y/N] ");
    streams.out.flush();
    const QString answer = streams.in.readLine().trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes") || answer == QLatin1String("是");
}

int clean(const QStringList& flags, const Environment& environment, Streams& streams)
{
    if (const std::optional<QString> error =
            flagError(QStringLiteral("clean"), flags,
                      {{QStringLiteral("--dry-run"), QStringLiteral("--json"), QStringLiteral("--yes")}}))
        return usageError(streams, *error);
    const bool dryRun = flags.contains(QStringLiteral("--dry-run"));
    const bool json = flags.contains(QStringLiteral("--json"));
    if (json && !dryRun)
        return usageError(streams,
                          L("--json 只能和 --dry-run 一起使用。", "--json goes with --dry-run only."));

    // Smart Clean's places lie in the home folder; without a sound one there is nothing to preview.
    if (const std::optional<QString> problem = HomeFolder::problem(environment.home)) {
        streams.err << *problem << '\n';
        streams.err.flush();
        return 1;
    }
    const CleanPreviewReport report = LocalCleanPreview::snapshot(environment.home);
    if (json) {
        streams.out << QJsonDocument(report.toJson()).toJson(QJsonDocument::Indented);
        streams.out.flush();
        return 0;
    }
    streams.out << CleanReportText::terminalReport(report, streams.outIsTerminal);
    streams.out.flush();
    if (dryRun)
        return 0;

    const bool anythingToClean =
        std::any_of(report.entries.begin(), report.entries.end(), [](const CleanPreviewReport::Entry& entry) {
            return entry.status == CleanPreviewReport::EntryStatus::cleanable;
        });
    if (!anythingToClean) {
        streams.out << L("没有需要清理的内容。", "Nothing to clean.") << '\n';
        return 0;
    }
    if (!flags.contains(QStringLiteral("--yes")) && !confirmed(streams)) {
        streams.out << L("已取消，没有删除任何内容。", "Cancelled. Nothing was deleted.") << '\n';
        return 1;
    }
    LocalCleanResult result;
    try {
        result = LocalCleanExecutor::clean(report, {environment.home}, environment.home);
    } catch (const KelvoError& error) {
        streams.err << error.description() << '\n';
        streams.err.flush();
        return 1;
    }
    const QString freed = SizeText::bytes(result.removedBytes);
    streams.out << (result.failedCount > 0 ? L("已清理 %1 项，%2 项没有成功。释放 %3。",
                                               "Cleaned %1 items. %2 failed. Freed %3.")
                                                 .arg(result.removedCount)
                                                 .arg(result.failedCount)
                                                 .arg(freed)
                                           : L("已清理 %1 项。释放 %2。", "Cleaned %1 items. Freed %2.")
                                                 .arg(result.removedCount)
                                                 .arg(freed))
                << '\n';
    streams.out.flush();
    if (result.failedCount > 0) {
        streams.err << FileRemover::leftBehindText(result.failedCount, result.left) << '\n';
        streams.err.flush();
    }
    return result.failedCount > 0 ? 1 : 0;
}

// The flags a command was given and the one path it takes.
struct PathCommand {
    QStringList flags;
    QString path;
    QString error;
};

// Words starting with "--" are flags, checked first; the others are the path.
PathCommand pathCommand(const QString& command, const QStringList& words, const FlagRules& rules)
{
    PathCommand parsed;
    QStringList paths;
    for (const QString& word : words)
        (word.startsWith(QLatin1String("--")) ? parsed.flags : paths) << word;
    if (const std::optional<QString> error = flagError(command, parsed.flags, rules))
        parsed.error = *error;
    else if (paths.size() > 1)
        parsed.error = L("%1 只接受一个路径。", "%1 takes one path.").arg(command);
    else if (paths.isEmpty())
        parsed.error = L("%1 需要一个路径。", "%1 needs a path.").arg(command);
    else
        parsed.path = paths.constFirst();
    return parsed;
}

void printJson(Streams& streams, const QJsonObject& json)
{
    streams.out << QJsonDocument(json).toJson(QJsonDocument::Indented);
    streams.out.flush();
}

int analyze(const QStringList& words, Streams& streams, const Environment& environment)
{
    const PathCommand command = pathCommand(QStringLiteral("analyze"), words, {{QStringLiteral("--json")}});
    if (!command.error.isEmpty())
        return usageError(streams, command.error);
    const AnalysisReport report = LocalAnalysis::snapshot(command.path, environment.home);
    if (command.flags.contains(QStringLiteral("--json"))) {
        printJson(streams, report.toJson());
        return 0;
    }
    streams.out << L("位置：", "Location: ") << command.path << '\n'
                << L("文件：", "Files: ") << report.totalFiles.value_or(0) << "  " << L("合计：", "Total: ")
                << SizeText::bytes(report.totalSize.value_or(0)) << "\n\n"
                << L("占用靠前的项目", "Largest space users") << '\n';
    for (const AnalysisReport::Entry& entry : report.entries)
        streams.out << "  " << SizeText::bytes(entry.size.value_or(0)).rightJustified(10) << "  "
                    << entry.name.value_or(QString()) << (entry.isDirectory.value_or(false) ? "/" : "")
                    << '\n';
    streams.out << '\n' << L("大文件", "Large Files") << '\n';
    for (const AnalysisReport::Entry& file : report.largeFiles)
        streams.out << "  " << SizeText::bytes(file.size.value_or(0)).rightJustified(10) << "  "
                    << file.path.value_or(QString()) << '\n';
    streams.out.flush();
    return 0;
}

QJsonObject purgeJson(const PurgePreviewReport& report)
{
    QJsonArray entries;
    for (const PurgePreviewReport::Entry& entry : report.entries)
        entries.append(QJsonObject{{QStringLiteral("name"), entry.name},
                                   {QStringLiteral("path"), entry.path},
                                   {QStringLiteral("target"), entry.target},
                                   {QStringLiteral("size"), entry.byteCount},
                                   {QStringLiteral("files"), entry.fileCount.value_or(0)},
                                   {QStringLiteral("folders"), entry.directoryCount.value_or(0)}});
    return {{QStringLiteral("root_path"), report.rootPath},
            {QStringLiteral("total_size"), report.totalBytes()},
            {QStringLiteral("generated_at"), report.generatedAt.toString(Qt::ISODateWithMs)},
            {QStringLiteral("entries"), entries}};
}

int purge(const QStringList& words, Streams& streams)
{
    // Artefacts go to the Trash one by one from the window; the terminal only lists them.
    const PathCommand command =
        pathCommand(QStringLiteral("purge"), words,
                    {{QStringLiteral("--dry-run"), QStringLiteral("--json")},
                     L("purge 目前只支持 --dry-run；请在窗口里逐项移到废纸篓。",
                       "purge supports --dry-run only; move items to the Trash from the window.")});
    if (!command.error.isEmpty())
        return usageError(streams, command.error);
    const PurgePreviewReport report = LocalPurgePreview::snapshot(command.path);
    if (command.flags.contains(QStringLiteral("--json"))) {
        printJson(streams, purgeJson(report));
        return 0;
    }
    for (const PurgePreviewReport::Entry& entry : report.entries)
        streams.out << SizeText::bytes(entry.byteCount).rightJustified(10) << "  "
                    << PurgeEcosystems::title(PurgeEcosystems::of(entry.target)).leftJustified(18)
                    << entry.path << '\n';
    streams.out
        << L("%1 项，合计 %2", "%1 items, total %2").arg(report.entries.size()).arg(report.totalSizeText())
        << '\n';
    streams.out.flush();
    return 0;
}

// installer and uninstall only list from the terminal: removal goes through the window's selection.
std::optional<QString> listingFlagError(const QString& command, const QStringList& flags)
{
    return flagError(command, flags,
                     {{QStringLiteral("--dry-run"), QStringLiteral("--json")},
                      L("%1 目前只支持 --dry-run；请在窗口里选择要移到废纸篓的项目。",
                        "%1 supports --dry-run only; choose what to move to the Trash in the window.")
                          .arg(command)});
}

int listInstallers(const QStringList& flags, Streams& streams, const Environment& environment)
{
    if (const std::optional<QString> error = listingFlagError(QStringLiteral("installer"), flags))
        return usageError(streams, *error);
    const InstallerPreviewReport report =
        LocalInstallerPreview::snapshot(environment.home, LocalInstallerPreview::systemPlaces());
    if (flags.contains(QStringLiteral("--json"))) {
        QJsonArray rows;
        for (const InstallerPreviewReport::Entry& entry : report.entries)
            rows.append(QJsonObject{{QStringLiteral("name"), entry.name},
                                    {QStringLiteral("path"), entry.path},
                                    {QStringLiteral("source"), entry.source},
                                    {QStringLiteral("size"), entry.byteCount}});
        printJson(streams, QJsonObject{{QStringLiteral("entries"), rows}});
        return 0;
    }
    for (const InstallerPreviewReport::Entry& entry : report.entries)
        streams.out << entry.sizeText().rightJustified(10) << "  " << entry.source.leftJustified(14)
                    << entry.path << '\n';
    streams.out << L("%1 个文件，合计 %2", "%1 files, total %2")
                       .arg(report.entries.size())
                       .arg(report.totalSizeText())
                << '\n';
    streams.out.flush();
    return 0;
}

int listApps(const QStringList& flags, Streams& streams, const Environment& environment)
{
    if (const std::optional<QString> error = listingFlagError(QStringLiteral("uninstall"), flags))
        return usageError(streams, *error);
    const UninstallPreviewReport report = LocalUninstallPreview::snapshot(environment.home);
    if (flags.contains(QStringLiteral("--json"))) {
        QJsonArray rows;
        for (const UninstallPreviewReport::Entry& entry : report.entries) {
            // Each leftover says how surely it belongs to the app: "strong" ones go with it by
            // default, "possible" ones only when chosen.
            QJsonArray leftovers;
            for (const UninstallPreviewReport::Leftover& leftover : entry.leftovers)
                leftovers.append(QJsonObject{
                    {QStringLiteral("path"), leftover.path},
                    {QStringLiteral("size"), leftover.allocatedBytes},
                    {QStringLiteral("match"), leftover.match == UninstallPreviewReport::LeftoverMatch::strong
                                                  ? QStringLiteral("strong")
                                                  : QStringLiteral("possible")}});
            rows.append(QJsonObject{{QStringLiteral("name"), entry.name},
                                    {QStringLiteral("path"), entry.path},
                                    {QStringLiteral("bundle_id"), entry.bundleID.value_or(QString())},
                                    {QStringLiteral("size"), entry.size.value_or(QString())},
                                    {QStringLiteral("leftovers"), leftovers}});
        }
        printJson(streams, QJsonObject{{QStringLiteral("entries"), rows}});
        return 0;
    }
    for (const UninstallPreviewReport::Entry& entry : report.entries)
        streams.out << entry.size.value_or(QStringLiteral("?")).rightJustified(10) << "  " << entry.name
                    << "  (" << entry.source << ")\n";
    streams.out << L("%1 个应用项目", "%1 app items").arg(report.entries.size()) << '\n';
    streams.out.flush();
    return 0;
}

} // namespace

bool wantsCommandLine(const QStringList& arguments)
{
    return !arguments.isEmpty() && commandWords.contains(arguments.first());
}

int run(const QStringList& arguments, const Environment& environment, Streams& streams)
{
    const Request request = parse(arguments);
    if (!request.error.isEmpty())
        return usageError(streams, request.error);
    if (request.command == QLatin1String("help")) {
        streams.out << helpText();
        streams.out.flush();
        return 0;
    }
    if (request.command == QLatin1String("version")) {
        streams.out << QStringLiteral("Kelvo ") << environment.version << '\n';
        streams.out.flush();
        return 0;
    }
    if (request.command == QLatin1String("clean"))
        return clean(request.flags, environment, streams);
    if (request.command == QLatin1String("analyze"))
        return analyze(request.flags, streams, environment);
    if (request.command == QLatin1String("purge"))
        return purge(request.flags, streams);
    if (request.command == QLatin1String("installer"))
        return listInstallers(request.flags, streams, environment);
    if (request.command == QLatin1String("uninstall"))
        return listApps(request.flags, streams, environment);
    return usageError(streams, L("不认识的命令：", "Unknown command: ") + request.command);
}

} // namespace CommandLine
