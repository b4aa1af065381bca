// kelvo uninstall: the installed applications with their leftovers, and uninstalling the ones named.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "platform/HomeFolder.h"
#include "uninstall/UninstallExecutor.h"
#include "uninstall/UninstallPreviewService.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/PathText.h"
#include "vocabulary/SizeText.h"
#include "vocabulary/StableId.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QTextStream>

namespace CommandLine {

namespace {

QJsonObject uninstallJson(const UninstallPreviewReport& report)
{
    QJsonArray entries;
    for (const UninstallPreviewReport::Entry& entry : report.entries) {
        // Each leftover says how surely it belongs to the app: "strong" ones go with it by default,
        // "possible" ones only when chosen; the sizes count the strong ones.
        QJsonArray leftovers;
        qint64 leftoverBytes = 0;
        for (const UninstallPreviewReport::Leftover& leftover : entry.leftovers) {
            const bool strong = leftover.match == UninstallPreviewReport::LeftoverMatch::strong;
            QJsonObject json{
                {QStringLiteral("path"), leftover.path},
                {QStringLiteral("match"), strong ? QStringLiteral("strong") : QStringLiteral("possible")}};
            putSize(json, QStringLiteral("size"), leftover.allocatedBytes);
            leftovers.append(json);
            if (strong)
                leftoverBytes = ByteCount::saturatingAdd(leftoverBytes, leftover.allocatedBytes);
        }
        const qint64 appBytes = entry.appSizeBytes.value_or(0);
        QJsonObject json{
            {QStringLiteral("id"), StableId::of(entry.path).toString(QUuid::WithoutBraces)},
            {QStringLiteral("name"), entry.shownName()},
            {QStringLiteral("path"), entry.path},
            {QStringLiteral("bundle_id"), entry.bundleID ? QJsonValue(*entry.bundleID) : QJsonValue()},
            {QStringLiteral("location"), QFileInfo(entry.path).path()},
            {QStringLiteral("source_text"), entry.source.text()},
            {QStringLiteral("last_opened"),
             entry.lastOpened ? QJsonValue(entry.lastOpened->toUTC().toString(Qt::ISODate)) : QJsonValue()},
            {QStringLiteral("leftovers"), leftovers}};
        putSize(json, QStringLiteral("size"), ByteCount::saturatingAdd(appBytes, leftoverBytes));
        putSize(json, QStringLiteral("app_size"), appBytes);
        putSize(json, QStringLiteral("leftover_size"), leftoverBytes);
        entries.append(json);
    }
    return {{QStringLiteral("entries"), entries},
            {QStringLiteral("notes"), QJsonArray::fromStringList(report.notes)}};
}
// The entries a word names: the id the JSON list gives, its path, identifier, name or file name, letter
// case ignored but for the path.
std::vector<const UninstallPreviewReport::Entry*> named(const UninstallPreviewReport& report,
                                                        const QString& word)
{
    std::vector<const UninstallPreviewReport::Entry*> found;
    for (const UninstallPreviewReport::Entry& entry : report.entries) {
        const auto same = [&](const QString& text) { return text.compare(word, Qt::CaseInsensitive) == 0; };
        if (entry.path == PathText::standardized(word) ||
            same(StableId::of(entry.path).toString(QUuid::WithoutBraces)) ||
            same(entry.bundleID.value_or(QString())) || same(entry.name) ||
            (!entry.chineseName.isEmpty() && same(entry.chineseName)) || same(entry.uninstallName))
            found.push_back(&entry);
    }
    return found;
}

void printList(const UninstallPreviewReport& report, Streams& streams)
{
    for (const UninstallPreviewReport::Entry& entry : report.entries)
        streams.out << entry.size.value_or(QStringLiteral("?")).rightJustified(10) << "  "
                    << entry.shownName() << "  (" << entry.source.text() << ")\n";
    streams.out << counted(qint64(report.entries.size()), "个应用", "app", "apps") << '\n';
    for (const QString& note : report.notes)
        streams.out << note << '\n';
}

void printPlan(const UninstallExecutor::Plan& plan, Streams& streams)
{
    for (const UninstallExecutor::AppPlan& app : plan.apps) {
        streams.out << SizeText::bytes(app.app.allocatedBytes).rightJustified(10) << "  " << app.name << "  "
                    << app.app.path << '\n';
        for (const UninstallExecutor::Item& leftover : app.leftovers)
            streams.out << SizeText::bytes(leftover.allocatedBytes).rightJustified(10) << "    "
                        << leftover.path << '\n';
    }
    for (const FileRemover::LeftBehind& kept : plan.kept)
        streams.out << L("          保留：", "          stays: ") << kept.reason << '\n';
}

} // namespace

int uninstall(const Arguments& arguments, const Environment& environment, Streams& streams)
{
    const QStringList& apps = arguments.operands;
    const bool dryRun = arguments.has("--dry-run");
    if (!dryRun && apps.isEmpty())
        return usageError(streams, L("请说明要卸载哪些应用（名称、标识符或路径），或用 --dry-run 列出它们。",
                                     "Name the apps to uninstall (name, identifier or path), or list them "
                                     "with --dry-run."));
    if (arguments.has("--json") && !apps.isEmpty())
        return usageError(streams, L("--json 只用于列出全部应用。", "--json goes with the whole list only."));
    const QDateTime started = QDateTime::currentDateTimeUtc();
    UninstallPreviewService::Setup setup;
    setup.system = environment.uninstallSystem.value_or(environment.target.system);
    setup.linux.flatpakTool = environment.systemRoot + QStringLiteral("/usr/bin/flatpak");
    setup.linux.systemRoot = environment.systemRoot;
    const UninstallPreviewReport report = UninstallPreviewService::scan(environment.home, setup);
    if (apps.isEmpty()) {
        if (arguments.has("--json"))
            printJson(streams, QStringLiteral("uninstall_preview"), started, uninstallJson(report));
        else
            printList(report, streams);
        streams.out.flush();
        return 0;
    }

    // Every word must name exactly one app before anything is planned.
    QSet<QString> chosen;
    for (const QString& word : apps) {
        const std::vector<const UninstallPreviewReport::Entry*> found = named(report, word);
        if (found.empty())
            return failure(streams,
                           L("没有叫做“%1”的已安装应用。", "No installed app is called \"%1\".").arg(word));
        if (found.size() > 1) {
            QStringList paths;
            for (const UninstallPreviewReport::Entry* entry : found)
                paths << entry->path;
            return failure(streams, L("“%1”对应多个应用，请用路径指明：",
                                      "\"%1\" names several apps; name one by its path: ")
                                            .arg(word) +
                                        paths.join(QStringLiteral(", ")));
        }
        chosen.insert(found.front()->id);
    }
    if (const std::optional<QString> problem = HomeFolder::problem(environment.home))
        return failure(streams, *problem);
    const UninstallExecutor::Plan plan =
        UninstallExecutor::plan(report, UninstallExecutor::withStrongLeftovers(report, chosen),
                                RemovalPolicy::SharedFolders(environment.home));
    printPlan(plan, streams);
    const QString sentence = UninstallExecutor::confirmation(plan);
    if (plan.apps.empty())
        return failure(streams, sentence);
    if (dryRun) {
        streams.out << sentence << '\n';
        streams.out.flush();
        return 0;
    }
    if (const std::optional<int> refused = actingRefused(environment, streams))
        return *refused;
    if (!arguments.has("--yes") &&
        !confirmed(streams, sentence + QLatin1Char('\n') + L("继续吗？[y/N] ", "Continue? [y/N] "))) {
        streams.out << L("已取消，没有卸载任何内容。", "Cancelled. Nothing was uninstalled.") << '\n';
        return 1;
    }
    const UninstallExecutor::Result result =
        UninstallExecutor::run(plan, environment.home, setup.linux.flatpakTool);
    streams.out << UninstallExecutor::completion(plan, result) << '\n';
    streams.out.flush();
    if (result.failed > 0)
        return failure(streams, FileRemover::leftBehindText(result.failed, result.left));
    return 0;
}

} // namespace CommandLine
