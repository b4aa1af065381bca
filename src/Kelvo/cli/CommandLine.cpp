#include "cli/CommandLine.h"

#include "clean/CleanReportText.h"
#include "clean/LocalCleanExecutor.h"
#include "clean/LocalCleanPreview.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/SizeText.h"

#include <QJsonDocument>
#include <QTextStream>

namespace CommandLine {

namespace {

QString L(const char* zh, const char* en)
{
    return AppLocalization::localized(QString::fromUtf8(zh), QString::fromUtf8(en));
}

const QStringList commandWords{
    QStringLiteral("clean"),   QStringLiteral("help"),      QStringLiteral("--help"), QStringLiteral("-h"),
    QStringLiteral("version"), QStringLiteral("--version"), QStringLiteral("--lang")};

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
    const QStringList known{QStringLiteral("--dry-run"), QStringLiteral("--json"), QStringLiteral("--yes")};
    for (const QString& flag : flags)
        if (!known.contains(flag))
            return usageError(streams,
                              L("clean 不认识这个选项：", "clean does not know this option: ") + flag);
    const bool dryRun = flags.contains(QStringLiteral("--dry-run"));
    const bool json = flags.contains(QStringLiteral("--json"));
    if (json && !dryRun)
        return usageError(streams,
                          L("--json 只能和 --dry-run 一起使用。", "--json goes with --dry-run only."));

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
    const LocalCleanResult result = LocalCleanExecutor::clean(report, {environment.home}, environment.home);
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
    return result.failedCount > 0 ? 1 : 0;
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
    return usageError(streams, L("不认识的命令：", "Unknown command: ") + request.command);
}

} // namespace CommandLine
