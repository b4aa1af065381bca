// Every command of the command line, each stated once.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

namespace CommandLine {

QString Text::operator()() const
{
    return L(zh, en);
}

namespace {

const Command table[] = {
    {.name = "clean",
     .usage = {"kelvo clean [--dry-run [--json]] [--yes]", "kelvo clean [--dry-run [--json]] [--yes]"},
     .help = {"预览智能清理会清理的位置；不带 --dry-run 时在确认后清理（--yes 不再询问）。\n"
              "保护名单（~/.config/kelvo/whitelist）里的位置永远不会被清理；保护名单无法读取时什么也不删除。",
              "Previews the places Smart Clean would clean; without --dry-run it cleans after you confirm\n"
              "(--yes asks nothing). Locations on the protection list (~/.config/kelvo/whitelist) are never\n"
              "cleaned, and nothing is removed when that list cannot be read."},
     .options = {"--dry-run", "--json", "--yes"},
     .jsonNeedsDryRun = true,
     .run = clean},
    {.name = "optimize",
     .usage = {"kelvo optimize [--dry-run [--json]] [--yes]", "kelvo optimize [--dry-run [--json]] [--yes]"},
     .help =
         {"预览维护步骤，以及执行时每一步会怎样；不带 --dry-run 时在确认后执行这里可以运行的步骤（--yes "
          "不再询问）。\n"
          "优化保护项（~/.config/kelvo/whitelist_optimize）里的步骤会被跳过；保护项无法读取时什么也不执行。",
          "Previews the maintenance steps and what a run would do with each; without --dry-run it runs the\n"
          "steps that can run here after you confirm (--yes asks nothing). Steps on the safeguard list\n"
          "(~/.config/kelvo/whitelist_optimize) are skipped, "
          "and nothing runs when that list cannot be read."},
     .options = {"--dry-run", "--json", "--yes"},
     .jsonNeedsDryRun = true,
     .run = optimize},
    {.name = "analyze",
     .usage = {"kelvo analyze [--json] [--all] [--export 文件] 路径 | [--json] --import 文件",
               "kelvo analyze [--json] [--all] [--export FILE] PATH | [--json] --import FILE"},
     .help =
         {"列出一个文件夹里占用空间最多的项目和最大的文件；"
          "--all 把隐藏项目和主文件夹中受保护的文件夹也算进来。\n"
          "--export 把整棵树按 ncdu 的 JSON 导出格式写入文件（ncdu -f 和 gdu -f 可读）；"
          "--import 读取 ncdu、gdu 或 Kelvo 导出的扫描，而不是扫描文件夹。",
          "Lists what takes the space in a folder: its largest items and files. --all also counts hidden\n"
          "items and the home folder's protected folders. --export writes the whole tree to FILE in\n"
          "ncdu's JSON export format (which ncdu -f and gdu -f read); --import reads a scan exported by\n"
          "ncdu, gdu or Kelvo instead of walking a folder."},
     .options = {"--json", "--all"},
     .operands = Operands::onePath,
     .values = {ValueOption{"--export", {"--export 需要一个文件。", "--export needs a file."}, anyFile},
                ValueOption{"--import", {"--import 需要一个文件。", "--import needs a file."}, anyFile}},
     .pathGivenBy = "--import",
     .run = analyze},
    // Artefacts go to the Trash one by one from the window; the terminal only lists them.
    {.name = "purge",
     .usage = {"kelvo purge --dry-run [--json] 路径", "kelvo purge --dry-run [--json] PATH"},
     .help = {"查找项目文件夹里的构建产物（node_modules、target、.venv……），不删除任何内容。",
              "Finds build artefacts (node_modules, target, .venv, ...) below a project folder; "
              "deletes nothing."},
     .options = {"--dry-run", "--json"},
     .operands = Operands::onePath,
     .dryRunOnly = {"purge 目前只支持 --dry-run；请在窗口里逐项移到废纸篓。",
                    "purge supports --dry-run only; move items to the Trash from the window."},
     .run = purge},
    // Installers go to the Trash through the window's selection.
    {.name = "installer",
     .usage = {"kelvo installer --dry-run [--json]", "kelvo installer --dry-run [--json]"},
     .help =
         {"查找下载位置里的安装包（macOS 上的磁盘映像和安装器，Linux 上的 .deb、.rpm、AppImage 和 Flatpak "
          "包，以及带安装器的压缩包），不删除任何内容。",
          "Finds installer files in the download places (disk images and packages on macOS; .deb, .rpm,\n"
          "AppImage and Flatpak bundles on Linux; archives that carry one); deletes nothing."},
     .options = {"--dry-run", "--json"},
     .dryRunOnly = {"installer 目前只支持 --dry-run；请在窗口里选择要移到废纸篓的项目。",
                    "installer supports --dry-run only; choose what to move to the Trash in the window."},
     .run = installer},
    {.name = "status",
     .usage = {"kelvo status [--json] [--all-users] [--interval 秒数] [--replay 文件夹]",
               "kelvo status [--json] [--all-users] [--interval SECONDS] [--replay FOLDER]"},
     .help =
         {"显示电脑当前状态：健康分、CPU、内存、磁盘、网络、电源和最忙的进程。\n"
          "速率要两次采样才能算出：单次运行时磁盘和网络速率显示为“—”；--interval 隔这么多秒再采样一次，\n"
          "给出这段时间里的速率，进程的 CPU 也按这段时间计算。\n"
          "以 root 运行时，最忙的进程只列 root 自己的，--all-users 列出所有用户的。\n"
          "--replay 用一个文件夹里录下的 macOS 工具输出代替运行工具（每个工具一份“工具名 参数.txt”）。",
          "Shows the machine's state: health score, CPU, memory, disks, network, power and the busiest\n"
          "processes. A rate needs two samples: alone, the disk and network rates print \"—\"; --interval\n"
          "samples again that many seconds later and gives the rates over that time, and each process's\n"
          "CPU too. Run as root, the busiest are root's own processes; --all-users lists every user's.\n"
          "--replay answers the macOS tools from outputs recorded in a folder (one \"tool args.txt\" per\n"
          "tool run) instead of running them."},
     .options = {"--json", "--all-users"},
     .values = {ValueOption{
                    "--replay", {"--replay 需要一个文件夹。", "--replay needs a folder."}, folderProblem},
                ValueOption{"--interval",
                            {"--interval 需要秒数。", "--interval needs a number of seconds."},
                            intervalProblem}},
     .run = status},
    {.name = "uninstall",
     .usage = {"kelvo uninstall --dry-run [--json] | [--dry-run] [--yes] 应用…",
               "kelvo uninstall --dry-run [--json] | [--dry-run] [--yes] APP..."},
     .help =
         {"--dry-run 列出已安装的应用及其残留文件，不删除任何内容。\n"
          "给出应用（名称、标识符、路径或列表里的 id）时，显示要移到废纸篓的应用和它们的确定残留，确认后卸载"
          "（--yes 不再询问；加 --dry-run 只显示）。",
          "--dry-run lists the installed applications with their leftovers; deletes nothing.\n"
          "Given apps (by name, identifier, path or the list's id), "
          "shows them with the leftovers named after\n"
          "them, then uninstalls them after you confirm (--yes asks nothing; with --dry-run it only shows)."},
     .options = {"--dry-run", "--json", "--yes"},
     .operands = Operands::apps,
     .jsonNeedsDryRun = true,
     .run = uninstall},
    {.name = "update",
     .usage = {"kelvo update --check [--json] | --install [--yes]",
               "kelvo update --check [--json] | --install [--yes]"},
     .help =
         {"--check 从更新地址（KELVO_UPDATE_FEED_URL 或构建时配置的地址）检查是否有新版本。\n"
          "--install 显示新版本和说明，确认后下载、校验并替换当前安装（--yes 不再询问），不会启动新版本。",
          "--check asks the update feed (KELVO_UPDATE_FEED_URL, or the one the build was configured with)\n"
          "for a newer version. --install shows the new version and its notes, then, after you confirm\n"
          "(--yes asks nothing), downloads, verifies and replaces this installation; it does not start it."},
     .options = {"--check", "--install", "--json", "--yes"},
     .run = update},
};

} // namespace

std::span<const Command> commands()
{
    return table;
}

const Command* findCommand(const QString& name)
{
    for (const Command& command : commands())
        if (name == QLatin1String(command.name))
            return &command;
    return nullptr;
}

} // namespace CommandLine
