#include "cli/CommandLine.h"

#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "vocabulary/AppLocalization.h"

#include <QTextStream>

namespace CommandLine {

namespace {

struct Request {
    QString command;
    QStringList words; // what follows the command
    QString error;     // set when the words do not form a command
};

// Takes --lang out (it applies to the whole run) and splits the rest into a command and its words.
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
    request.command = words.isEmpty() ? QStringLiteral("help") : words.takeFirst();
    if (request.command == QLatin1String("--help") || request.command == QLatin1String("-h"))
        request.command = QStringLiteral("help");
    if (request.command == QLatin1String("--version"))
        request.command = QStringLiteral("version");
    request.words = words;
    return request;
}

// One command's usage and what it does.
struct CommandHelp {
    const char* name;
    const char* usageZh;
    const char* usageEn;
    const char* detailZh;
    const char* detailEn;
};

const CommandHelp commandHelp[] = {
    {"clean", "kelvo clean [--dry-run [--json]] [--yes]", "kelvo clean [--dry-run [--json]] [--yes]",
     "预览智能清理会清理的位置；不带 --dry-run 时在确认后清理（--yes 不再询问）。\n"
     "保护名单（~/.config/kelvo/whitelist）里的位置永远不会被清理；保护名单无法读取时什么也不删除。",
     "Previews the places Smart Clean would clean; without --dry-run it cleans after you confirm\n"
     "(--yes asks nothing). Locations on the protection list (~/.config/kelvo/whitelist) are never\n"
     "cleaned, and nothing is removed when that list cannot be read."},
    {"optimize", "kelvo optimize [--dry-run [--json]] [--yes]", "kelvo optimize [--dry-run [--json]] [--yes]",
     "预览维护步骤，以及执行时每一步会怎样；不带 --dry-run 时在确认后执行这里可以运行的步骤（--yes "
     "不再询问）。\n"
     "优化保护项（~/.config/kelvo/whitelist_optimize）里的步骤会被跳过；保护项无法读取时什么也不执行。",
     "Previews the maintenance steps and what a run would do with each; without --dry-run it runs the\n"
     "steps that can run here after you confirm (--yes asks nothing). Steps on the safeguard list\n"
     "(~/.config/kelvo/whitelist_optimize) are skipped, and nothing runs when that list cannot be read."},
    {"analyze", "kelvo analyze [--json] [--all] 路径", "kelvo analyze [--json] [--all] PATH",
     "列出一个文件夹里占用空间最多的项目和最大的文件；--all 把隐藏项目和主文件夹中受保护的文件夹也算进来。",
     "Lists what takes the space in a folder: its largest items and files. --all also counts hidden\n"
     "items and the home folder's protected folders."},
    {"purge", "kelvo purge --dry-run [--json] 路径", "kelvo purge --dry-run [--json] PATH",
     "查找项目文件夹里的构建产物（node_modules、target、.venv……），不删除任何内容。",
     "Finds build artefacts (node_modules, target, .venv, ...) below a project folder; deletes nothing."},
    {"installer", "kelvo installer --dry-run [--json]", "kelvo installer --dry-run [--json]",
     "查找下载位置里的安装包（磁盘映像、安装器、带安装器的压缩包），不删除任何内容。",
     "Finds installer files (disk images, packages, archives that carry one) in the download places;\n"
     "deletes nothing."},
    {"status", "kelvo status [--json] [--all-users] [--replay 文件夹]",
     "kelvo status [--json] [--all-users] [--replay FOLDER]",
     "显示电脑当前状态：健康分、CPU、内存、磁盘、网络、电源和最忙的进程。\n"
     "以 root 运行时，最忙的进程只列 root 自己的，--all-users 列出所有用户的。\n"
     "--replay 用一个文件夹里录下的 macOS 工具输出代替运行工具（每个工具一份“工具名 参数.txt”）。",
     "Shows the machine's state: health score, CPU, memory, disks, network, power and the busiest\n"
     "processes. Run as root, the busiest are root's own processes; --all-users lists every user's.\n"
     "--replay answers the macOS tools from outputs recorded in a folder (one \"tool args.txt\" per\n"
     "tool run) instead of running them."},
    {"uninstall", "kelvo uninstall --dry-run [--json] | [--dry-run] [--yes] 应用…",
     "kelvo uninstall --dry-run [--json] | [--dry-run] [--yes] APP...",
     "--dry-run 列出已安装的应用及其残留文件，不删除任何内容。\n"
     "给出应用（名称、标识符、路径或列表里的 id）时，显示要移到废纸篓的应用和它们的确定残留，确认后卸载"
     "（--yes 不再询问；加 --dry-run 只显示）。",
     "--dry-run lists the installed applications with their leftovers; deletes nothing.\n"
     "Given apps (by name, identifier, path or the list's id), shows them with the leftovers named after\n"
     "them, then uninstalls them after you confirm (--yes asks nothing; with --dry-run it only shows)."},
    {"update", "kelvo update --check [--json] | --install [--yes]",
     "kelvo update --check [--json] | --install [--yes]",
     "--check 从更新地址（KELVO_UPDATE_FEED_URL 或构建时配置的地址）检查是否有新版本。\n"
     "--install 显示新版本和说明，确认后下载、校验并替换当前安装（--yes 不再询问），不会启动新版本。",
     "--check asks the update feed (KELVO_UPDATE_FEED_URL, or the one the build was configured with)\n"
     "for a newer version. --install shows the new version and its notes, then, after you confirm\n"
     "(--yes asks nothing), downloads, verifies and replaces this installation; it does not start it."},
};

const CommandHelp* helpFor(const QString& command)
{
    for (const CommandHelp& help : commandHelp)
        if (command == QLatin1String(help.name))
            return &help;
    return nullptr;
}

QString generalHelp()
{
    QString text =
        L("用法：kelvo [命令] [选项]\n\n不带命令时打开 Kelvo 窗口。\n\n命令：\n",
          "Usage: kelvo [command] [options]\n\nWithout a command, Kelvo opens its window.\n\nCommands:\n");
    for (const CommandHelp& help : commandHelp)
        text += QStringLiteral("  ") + L(help.usageZh, help.usageEn) + QLatin1Char('\n');
    text += L("  kelvo 命令 --help      一个命令的说明\n"
              "  kelvo --version        显示版本\n"
              "  kelvo --help           显示这段说明\n\n"
              "选项：\n"
              "  --lang en|zh           本次运行使用的语言\n\n"
              "退出状态：0 完成，1 被拒绝、停止或部分失败，2 用法错误。\n",
              "  kelvo COMMAND --help   one command's help\n"
              "  kelvo --version        show the version\n"
              "  kelvo --help           show this help\n\n"
              "Options:\n"
              "  --lang en|zh           the language of this run\n\n"
              "Exit status: 0 done, 1 refused, stopped or partly failed, 2 a usage error.\n");
    return text;
}

int printText(Streams& streams, const QString& text)
{
    streams.out << text;
    streams.out.flush();
    return 0;
}

} // namespace

bool wantsCommandLine(const QStringList& arguments)
{
    // Any word asks for the command line, an unknown one included, so a typo never opens the window.
    // macOS may hand an application launched from the Finder a "-psn_..." process number.
    return !arguments.isEmpty() && !arguments.first().startsWith(QLatin1String("-psn_"));
}

int run(const QStringList& arguments, const Environment& environment, Streams& streams)
{
    const Request request = parse(arguments);
    if (!request.error.isEmpty())
        return usageError(streams, request.error);
    if (request.command == QLatin1String("help") && request.words.isEmpty())
        return printText(streams, generalHelp());
    if (request.command == QLatin1String("version"))
        return printText(streams, QStringLiteral("Kelvo ") + environment.version + QLatin1Char('\n'));
    // "kelvo help clean" and "kelvo clean --help" both show the command's own help.
    const QString helpTopic =
        request.command == QLatin1String("help") ? request.words.value(0) : request.command;
    if (request.command == QLatin1String("help") || request.words.contains(QStringLiteral("--help"))) {
        if (const CommandHelp* help = helpFor(helpTopic))
            return printText(streams, L("用法：", "Usage: ") + L(help->usageZh, help->usageEn) +
                                          QStringLiteral("\n\n") + L(help->detailZh, help->detailEn) +
                                          QLatin1Char('\n'));
    }
    if (request.command == QLatin1String("clean"))
        return clean(request.words, environment, streams);
    if (request.command == QLatin1String("optimize"))
        return optimize(request.words, environment, streams);
    if (request.command == QLatin1String("analyze"))
        return analyze(request.words, environment, streams);
    if (request.command == QLatin1String("purge"))
        return purge(request.words, environment, streams);
    if (request.command == QLatin1String("installer"))
        return installer(request.words, environment, streams);
    if (request.command == QLatin1String("uninstall"))
        return uninstall(request.words, environment, streams);
    if (request.command == QLatin1String("status"))
        return status(request.words, environment, streams);
    if (request.command == QLatin1String("update"))
        return update(request.words, environment, streams);
    return usageError(streams, L("不认识的命令：", "Unknown command: ") +
                                   (request.command == QLatin1String("help") ? helpTopic : request.command));
}

} // namespace CommandLine
