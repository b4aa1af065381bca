#include "optimize/LocalOptimizePreview.h"

#include "optimize/AutostartAudit.h"
#include "optimize/OptimizeSteps.h"
#include "platform/FileWalker.h"
#include "platform/ToolRunner.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/PathText.h"
#include "vocabulary/SizeText.h"

#include <QStringDecoder>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent>

#include <algorithm>
#include <mutex>

#include <unistd.h>

namespace LocalOptimizePreview {

namespace {

// Each measure stops after this many counted entries, so a large mail store or font library
// cannot stall the preview.
constexpr qint64 maxCounted = 10000;

enum class Measure { size, count };

// A line that says how much of something is below the home folder.
struct MeasuredLine {
    Measure measure;
    const char* zhTitle;
    const char* enTitle;
    QStringList paths; // relative to the home folder
    QString extension; // empty: every entry
};

// A line that says what the step will do.
struct FixedLine {
    const char* zh;
    const char* en;
};

const std::map<QString, MeasuredLine>& macMeasuredLines()
{
    static const std::map<QString, MeasuredLine> lines{
        {QStringLiteral("cache_refresh"),
         {Measure::size,
          "QuickLook 与图标缓存",
          "QuickLook and icon caches",
          {QStringLiteral("Library/Caches/com.apple.QuickLook.thumbnailcache"),
           QStringLiteral("Library/Caches/com.apple.iconservices.store")},
          {}}},
        {QStringLiteral("saved_state_cleanup"),
         {Measure::count,
          "保存状态",
          "Saved app states",
          {QStringLiteral("Library/Saved Application State")},
          {}}},
        {QStringLiteral("fix_broken_configs"),
         {Measure::count,
          "偏好设置文件",
          "Preference files",
          {QStringLiteral("Library/Preferences")},
          QStringLiteral("plist")}},
        {QStringLiteral("sqlite_vacuum"),
         {Measure::size,
          "常见应用数据库",
          "Common app databases",
          {QStringLiteral("Library/Mail"), QStringLiteral("Library/Safari"),
           QStringLiteral("Library/Messages")},
          QStringLiteral("sqlite")}},
        {QStringLiteral("font_cache_rebuild"),
         {Measure::count, "用户字体", "User fonts", {QStringLiteral("Library/Fonts")}, {}}},
        {QStringLiteral("shared_file_list_repair"),
         {Measure::count,
          "共享列表文件",
          "Shared list files",
          {QStringLiteral("Library/Application Support/com.apple.sharedfilelist")},
          {}}},
        {QStringLiteral("login_items_audit"),
         {Measure::count,
          "登录项与启动配置",
          "Login items and launch configs",
          {QStringLiteral("Library/LaunchAgents")},
          {}}},
        {QStringLiteral("quarantine_cleanup"),
         {Measure::size,
          "隔离记录数据库",
          "Quarantine database",
          {QStringLiteral("Library/Preferences/com.apple.LaunchServices.QuarantineEventsV2")},
          {}}},
        {QStringLiteral("launch_agents_cleanup"),
         {Measure::count,
          "用户启动代理",
          "User launch agents",
          {QStringLiteral("Library/LaunchAgents")},
          QStringLiteral("plist")}},
        {QStringLiteral("notification_cleanup"),
         {Measure::size,
          "通知记录",
          "Notification records",
          {QStringLiteral("Library/Application Support/NotificationCenter")},
          {}}},
        {QStringLiteral("coreduet_cleanup"),
         {Measure::size,
          "使用数据",
          "Usage data",
          {QStringLiteral("Library/Application Support/Knowledge")},
          {}}},
    };
    return lines;
}

const std::map<QString, FixedLine>& macFixedLines()
{
    static const std::map<QString, FixedLine> lines{
        {QStringLiteral("network_optimization"),
         {"会刷新 DNS 缓存并检查当前代理配置。", "Will refresh DNS cache and check current proxy settings."}},
        {QStringLiteral("launch_services_rebuild"),
         {"会重建打开方式与文件关联数据库。", "Will rebuild Open With and file association databases."}},
        {QStringLiteral("dock_refresh"),
         {"会刷新 Dock 与 Finder 相关显示状态。", "Will refresh Dock and Finder display state."}},
        {QStringLiteral("prevent_network_dsstore"),
         {"会检查 Finder 是否避免在网络卷生成 .DS_Store。",
          "Will check whether Finder avoids .DS_Store on network volumes."}},
        {QStringLiteral("network_stack_optimize"),
         {"会刷新路由、ARP 与网络解析缓存。", "Will refresh routing, ARP, and resolver caches."}},
        {QStringLiteral("disk_permissions_repair"),
         {"会检查用户目录常见权限异常。", "Will check common permission issues under the user folder."}},
        {QStringLiteral("bluetooth_reset"),
         {"会检查蓝牙服务状态，必要时提示刷新。",
          "Will check Bluetooth service state and suggest refresh when needed."}},
        {QStringLiteral("periodic_maintenance"),
         {"会执行 macOS 周期维护脚本。", "Will run macOS periodic maintenance scripts."}},
        {QStringLiteral("disk_verify"),
         {"会检查主磁盘文件系统健康状态。", "Will check the main disk file-system health."}},
    };
    return lines;
}

const std::map<QString, MeasuredLine>& linuxMeasuredLines()
{
    static const std::map<QString, MeasuredLine> lines{
        {QStringLiteral("font_cache_rebuild"),
         {Measure::count,
          "用户字体",
          "User fonts",
          {QStringLiteral(".local/share/fonts"), QStringLiteral(".fonts")},
          {}}},
        {QStringLiteral("desktop_database_refresh"),
         {Measure::count,
          "桌面条目",
          "Desktop entries",
          {QStringLiteral(".local/share/applications")},
          QStringLiteral("desktop")}},
        {QStringLiteral("mime_database_refresh"),
         {Measure::count,
          "文件类型定义",
          "File type definitions",
          {QStringLiteral(".local/share/mime/packages")},
          QStringLiteral("xml")}},
    };
    return lines;
}

QString localized(const char* zh, const char* en)
{
    return AppLocalization::localized(QString::fromUtf8(zh), QString::fromUtf8(en));
}

// Whether the name ends in a dot and the extension, in any letter case; an empty extension admits
// every name.
bool hasExtension(const QString& name, const QString& extension)
{
    if (extension.isEmpty())
        return true;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && name.mid(dot + 1).compare(extension, Qt::CaseInsensitive) == 0;
}

FileWalker::Options walkOptions(const std::atomic_bool* cancelled, bool namesOnly = false)
{
    FileWalker::Options options;
    options.includeHidden = false;
    options.enterPackages = false; // a package is one entry
    options.namesOnly = namesOnly;
    options.cancelled = cancelled;
    return options;
}

// The entries (files and folders alike) below a folder with the extension, up to the cap; a folder
// that cannot be listed counts 0.
qint64 itemCount(const QString& folder, const QString& extension, const std::atomic_bool* cancelled)
{
    qint64 count = 0;
    // Counting needs the names only: the listing's kinds spare a stat per item.
    FileWalker::walk(folder, walkOptions(cancelled, true), [&](const FileWalker::Item& item) {
        if (hasExtension(item.name, extension))
            ++count;
        return count >= maxCounted ? FileWalker::Decision::stop : FileWalker::Decision::proceed;
    });
    return count;
}

// The allocated bytes of a file with the extension, or of the files with it below a folder (up to
// the cap of counted entries); nothing for a link or a missing path.
qint64 directorySize(const QString& path, const QString& extension, const std::atomic_bool* cancelled)
{
    const std::optional<FileWalker::Item> root = FileWalker::statItem(path);
    if (!root)
        return 0;
    if (root->kind == FileWalker::Kind::file)
        return hasExtension(root->name, extension) ? root->allocatedBytes : 0;
    qint64 bytes = 0;
    qint64 counted = 0;
    FileWalker::walk(path, walkOptions(cancelled), [&](const FileWalker::Item& item) {
        if (!hasExtension(item.name, extension))
            return FileWalker::Decision::proceed;
        if (item.kind == FileWalker::Kind::file)
            bytes = ByteCount::saturatingAdd(bytes, item.allocatedBytes);
        return ++counted >= maxCounted ? FileWalker::Decision::stop : FileWalker::Decision::proceed;
    });
    return bytes;
}

QString sizeLine(const char* zhTitle, const char* enTitle, qint64 bytes)
{
    return AppLocalization::localized(QString::fromUtf8(zhTitle) + QStringLiteral("：%1"),
                                      QString::fromUtf8(enTitle) + QStringLiteral(": %1"))
        .arg(SizeText::bytes(bytes));
}

QString countLine(const char* zhTitle, const char* enTitle, qint64 count)
{
    return AppLocalization::localized(QString::fromUtf8(zhTitle) + QStringLiteral("：%1 项"),
                                      QString::fromUtf8(enTitle) + QStringLiteral(": %1 items"))
        .arg(count);
}

qint64 installedMemory()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return pages > 0 && pageSize > 0 ? qint64(pages) * qint64(pageSize) : 0;
}

// The measurements of one preview, each made when its line is asked for.
class Details {
public:
    Details(const QString& home, const Options& options)
        : m_home(PathText::standardized(home))
        , m_options(options)
        , m_actions(OptimizeSteps::actions(options.system, m_home))
    {
    }

    std::optional<QString> line(const QString& id)
    {
        return m_options.system == TargetSystem::macOS ? macLine(id) : linuxLine(id);
    }

private:
    std::optional<QString> macLine(const QString& id)
    {
        if (id == QLatin1String("system_maintenance") || id == QLatin1String("spotlight_index_optimize"))
            return spotlightLine();
        if (id == QLatin1String("memory_pressure_relief"))
            return AppLocalization::localized(QStringLiteral("物理内存：%1"),
                                              QStringLiteral("Physical memory: %1"))
                .arg(SizeText::bytes(m_options.physicalMemory.value_or(installedMemory())));
        if (const auto fixed = macFixedLines().find(id); fixed != macFixedLines().end())
            return localized(fixed->second.zh, fixed->second.en);
        if (const auto measured = macMeasuredLines().find(id); measured != macMeasuredLines().end())
            return measuredLine(measured->second);
        return std::nullopt;
    }

    std::optional<QString> linuxLine(const QString& id)
    {
        if (const auto action = m_actions.find(id); action != m_actions.end()) {
            if (const std::optional<QString> reason =
                    OptimizeSteps::unavailableReason(action->second, m_home, m_options.systemRoot))
                return reason;
        }
        if (id == QLatin1String("dns_cache_flush"))
            return AppLocalization::localized(QStringLiteral("会刷新 systemd-resolved 的 DNS 缓存。"),
                                              QStringLiteral("Will flush the systemd-resolved DNS cache."));
        if (id == QLatin1String("thumbnail_cache_cleanup"))
            return thumbnailLine();
        if (id == QLatin1String("autostart_audit"))
            return AutostartAudit::detail(AutostartAudit::check(m_home, m_options.systemRoot));
        if (id == QLatin1String("failed_units_reset"))
            return failedUnitsLine();
        if (const auto measured = linuxMeasuredLines().find(id); measured != linuxMeasuredLines().end())
            return measuredLine(measured->second);
        return std::nullopt;
    }

    QString path(const QString& relative) const { return PathText::joined(m_home, relative); }

    // Capped like every measure, so a huge cache cannot stall the preview; a cut-short size says it
    // is a lower bound.
    QString thumbnailLine() const
    {
        FileWalker::MeasureOptions measuring;
        measuring.itemCap = maxCounted;
        measuring.cancelled = m_options.cancelled;
        const FileWalker::Measurement found =
            FileWalker::measure(path(QStringLiteral(".cache/thumbnails")), measuring);
        if (found.complete)
            return sizeLine("缩略图缓存", "Thumbnail cache", found.allocatedBytes);
        return AppLocalization::localized(QStringLiteral("缩略图缓存：至少 %1"),
                                          QStringLiteral("Thumbnail cache: at least %1"))
            .arg(SizeText::bytes(found.allocatedBytes));
    }

    QString measuredLine(const MeasuredLine& line) const
    {
        qint64 total = 0;
        for (const QString& relative : line.paths) {
            total = ByteCount::saturatingAdd(
                total, line.measure == Measure::size
                           ? directorySize(path(relative), line.extension, m_options.cancelled)
                           : itemCount(path(relative), line.extension, m_options.cancelled));
        }
        return line.measure == Measure::size ? sizeLine(line.zhTitle, line.enTitle, total)
                                             : countLine(line.zhTitle, line.enTitle, total);
    }

    // The standard output of a system tool that exited with status 0 within the time limit, when it
    // is UTF-8; none otherwise.
    std::optional<QString> toolOutput(const QString& program, const QStringList& arguments) const
    {
        // Started in the home folder, like every step's tool.
        const ConfinedPath::FolderOutcome home = ConfinedPath::reachFolder(m_home, m_home);
        if (!home.folder)
            return std::nullopt;
        const ToolRunner::Result result =
            ToolRunner::run({OptimizeSteps::located(program, m_home, m_options.systemRoot), arguments,
                             m_options.toolTimeLimit, home.folder->fd()});
        if (!result.succeeded())
            return std::nullopt;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder.decode(result.standardOutput);
        return decoder.hasError() ? std::nullopt : std::optional(text);
    }

    // One mdutil run serves both steps that show the Spotlight status, which are measured side by side.
    QString spotlightLine()
    {
        const std::lock_guard lock(m_spotlightMutex);
        if (!m_spotlightLine) {
            const std::optional<QString> output =
                toolOutput(QStringLiteral("/usr/bin/mdutil"), {QStringLiteral("-s"), m_home});
            if (!output)
                m_spotlightLine = AppLocalization::localized(QStringLiteral("Spotlight 状态：无法读取"),
                                                             QStringLiteral("Spotlight status: unavailable"));
            else if (output->toLower().contains(QLatin1String("enabled")))
                m_spotlightLine = AppLocalization::localized(QStringLiteral("Spotlight 状态：已开启"),
                                                             QStringLiteral("Spotlight status: enabled"));
            else
                m_spotlightLine =
                    AppLocalization::localized(QStringLiteral("Spotlight 状态：未开启或不可用"),
                                               QStringLiteral("Spotlight status: disabled or unavailable"));
        }
        return *m_spotlightLine;
    }

    QString failedUnitsLine() const
    {
        const std::optional<QString> output =
            toolOutput(QStringLiteral("/usr/bin/systemctl"),
                       {QStringLiteral("--user"), QStringLiteral("list-units"), QStringLiteral("--failed"),
                        QStringLiteral("--plain"), QStringLiteral("--no-legend")});
        if (!output)
            return AppLocalization::localized(QStringLiteral("失败的用户服务：无法读取"),
                                              QStringLiteral("Failed user services: unavailable"));
        qint64 count = 0;
        for (const QString& unitLine : output->split(QLatin1Char('\n'))) {
            if (!unitLine.trimmed().isEmpty())
                ++count;
        }
        return AppLocalization::localized(QStringLiteral("失败的用户服务：%1 项"),
                                          QStringLiteral("Failed user services: %1"))
            .arg(count);
    }

    QString m_home;
    const Options& m_options;
    std::map<QString, OptimizeStepAction> m_actions;
    std::mutex m_spotlightMutex;
    std::optional<QString> m_spotlightLine;
};

} // namespace

OptimizePreviewReport snapshot(const QString& home, const Options& options)
{
    Details details(home, options);
    OptimizePreviewReport report;
    for (const OptimizePreviewCatalog::Item& item : OptimizePreviewCatalog::items(options.system))
        report.entries.push_back(item.localizedEntry());
    // The steps are measured side by side: each reads its own folders, and the slowest (a large
    // thumbnail cache, a tool near its time limit) no longer holds up the others.
    QThreadPool pool;
    pool.setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
    QtConcurrent::blockingMap(&pool, report.entries, [&](OptimizePreviewReport::Entry& entry) {
        // A cancelled preview is thrown away; its remaining entries are not measured.
        if (!(options.cancelled && options.cancelled->load()))
            entry.detail = details.line(entry.id);
    });
    return report;
}

} // namespace LocalOptimizePreview
