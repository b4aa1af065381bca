#include "uninstall/UninstallExecutor.h"

#include "platform/ScanPathGuard.h"
#include "uninstall/FlatpakTool.h"
#include "vocabulary/AppLocalization.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/PathText.h"
#include "vocabulary/SizeText.h"

#include <algorithm>

namespace UninstallExecutor {

namespace {

QString localized(const char* chinese, const char* english)
{
    return AppLocalization::localized(QString::fromUtf8(chinese), QString::fromUtf8(english));
}

void leave(Result& result, const QString& path, const QString& reason)
{
    ++result.failed;
    if (qsizetype(result.left.size()) < FileRemover::maxReported)
        result.left.push_back({path, reason});
}

// "A", "A and B", "A, B and C".
// "A", "A and B", "A, B and C", up to five names; past five, "A, B, C, D, E and 2 more".
QString namesText(const QStringList& names)
{
    constexpr qsizetype named = 5;
    if (names.size() <= 1)
        return names.value(0);
    if (names.size() > named)
        return names.first(named).join(localized("、", ", ")) +
               localized("等另外 %1 个", " and %1 more").arg(names.size() - named);
    return names.first(names.size() - 1).join(localized("、", ", ")) + localized("和", " and ") +
           names.back();
}

} // namespace

Choice withStrongLeftovers(const UninstallPreviewReport& report, const QSet<QString>& apps)
{
    Choice choice{apps, {}};
    for (const UninstallPreviewReport::Entry& entry : report.entries)
        if (apps.contains(entry.id))
            for (const UninstallPreviewReport::Leftover& leftover : entry.leftovers)
                if (leftover.match == UninstallPreviewReport::LeftoverMatch::strong)
                    choice.leftovers.insert(leftover.path);
    return choice;
}

qint64 Plan::bytes() const
{
    qint64 total = 0;
    for (const AppPlan& app : apps) {
        total = ByteCount::saturatingAdd(total, app.app.allocatedBytes);
        for (const Item& leftover : app.leftovers)
            total = ByteCount::saturatingAdd(total, leftover.allocatedBytes);
    }
    return total;
}

qint64 Plan::leftoverCount() const
{
    qint64 count = 0;
    for (const AppPlan& app : apps)
        count += qint64(app.leftovers.size());
    return count;
}

Plan plan(const UninstallPreviewReport& report, const Choice& choice,
          const RemovalPolicy::SharedFolders& shared)
{
    Plan planned;
    QStringList others; // the listed applications that stay
    for (const UninstallPreviewReport::Entry& entry : report.entries)
        if (!choice.apps.contains(entry.id))
            others << entry.path;
    QSet<QString> taken;
    // Whether the item may go: once, not shared, holding no application that stays.
    const auto admit = [&](const QString& path) {
        if (taken.contains(path))
            return false;
        taken.insert(path);
        std::optional<QString> refusal = RemovalPolicy::refusal(path, shared);
        if (!refusal && std::any_of(others.begin(), others.end(), [&](const QString& other) {
                return PathText::isAtOrBelow(other, PathText::standardized(path));
            }))
            refusal = localized("%1 里有另一个没有选中的应用，Kelvo 不会移动它。",
                                "%1 holds another application that is not chosen; Kelvo does not move it.")
                          .arg(path);
        if (refusal)
            planned.kept.push_back({path, *refusal});
        return !refusal;
    };
    for (const UninstallPreviewReport::Entry& entry : report.entries) {
        if (!choice.apps.contains(entry.id))
            continue;
        // A Flatpak app's folder is flatpak's to remove; it is never moved.
        if (!entry.flatpakID && !admit(entry.path))
            continue;
        AppPlan app{entry.shownName(),
                    entry.flatpakID,
                    {entry.path, entry.identity, entry.appSizeBytes.value_or(0)},
                    {}};
        for (const UninstallPreviewReport::Leftover& leftover : entry.leftovers)
            if (choice.leftovers.contains(leftover.path) && admit(leftover.path))
                app.leftovers.push_back({leftover.path, leftover.identity, leftover.allocatedBytes});
        planned.apps.push_back(std::move(app));
    }
    return planned;
}

Result run(const Plan& plan, const QString& home, const QString& flatpakTool)
{
    Result result;
    for (const FileRemover::LeftBehind& kept : plan.kept)
        leave(result, kept.path, kept.reason);
    for (const AppPlan& app : plan.apps) {
        std::optional<QString> failure;
        if (app.flatpakID) {
            if (const std::optional<QString> why = FlatpakTool::uninstall(flatpakTool, *app.flatpakID))
                failure = localized("%1 没有卸载：", "%1 was not uninstalled: ").arg(*app.flatpakID) + *why;
        } else {
            failure = ScanPathGuard::moveToTrash(app.app.path, app.app.identity, home);
        }
        if (failure) {
            // Its leftovers stay with it: settings without their app help nobody, an app without
            // its settings may be what the user still runs.
            leave(result, app.app.path, *failure);
            continue;
        }
        result.removed.insert(app.app.path);
        for (const Item& leftover : app.leftovers) {
            if (const std::optional<QString> why =
                    ScanPathGuard::moveToTrash(leftover.path, leftover.identity, home))
                leave(result, leftover.path, *why);
            else
                result.removed.insert(leftover.path);
        }
    }
    return result;
}

QString confirmation(const Plan& plan)
{
    QStringList names;
    QStringList flatpaks;
    for (const AppPlan& app : plan.apps)
        (app.flatpakID ? flatpaks : names) << app.name;
    QStringList sentences;
    const qint64 leftovers = plan.leftoverCount();
    const QString size = SizeText::bytes(plan.bytes());
    const QString apps = namesText(names + flatpaks);
    // arg() with several texts fills every marker in one pass, so a name holding "%2" stays as it is.
    if (plan.apps.empty())
        sentences << localized("没有可以卸载的内容。", "Nothing can be uninstalled.");
    else if (leftovers == 0)
        sentences << localized("将卸载 %1，共 %2。", "Uninstalls %1, %2 in all.").arg(apps, size);
    else if (leftovers == 1)
        sentences << localized("将卸载 %1，连同 1 项残留，共 %2。",
                               "Uninstalls %1 with 1 leftover, %2 in all.")
                         .arg(apps, size);
    else
        sentences << localized("将卸载 %1，连同 %2 项残留，共 %3。",
                               "Uninstalls %1 with %2 leftovers, %3 in all.")
                         .arg(apps, QString::number(leftovers), size);
    if (!names.isEmpty() || leftovers > 0)
        sentences << localized(
            "它们会移到废纸篓，清空废纸篓后才会释放空间。",
            "They are moved to the Trash; the space comes back when the Trash is emptied.");
    if (!flatpaks.isEmpty())
        sentences << localized("%1 由 Flatpak 卸载，成功后其选中的残留才会移到废纸篓。",
                               "Flatpak removes %1; only then do its chosen leftovers follow.")
                         .arg(namesText(flatpaks));
    if (!plan.kept.empty())
        sentences << localized("%1 个选中的项目会保留：", "%1 chosen items stay: ").arg(plan.kept.size()) +
                         plan.kept.front().reason;
    return sentences.join(localized("", " "));
}

QString completion(const Plan& plan, const Result& result)
{
    QStringList gone;
    for (const AppPlan& app : plan.apps)
        if (result.removed.contains(app.app.path))
            gone << app.name;
    const qint64 leftovers = qint64(result.removed.size()) - gone.size();
    QStringList sentences{gone.isEmpty() ? localized("没有卸载任何应用。", "No app was uninstalled.")
                                         : localized("已卸载 %1。", "Uninstalled %1.").arg(namesText(gone))};
    if (leftovers > 0)
        sentences << (leftovers == 1
                          ? localized("1 项残留已移到废纸篓。", "1 leftover moved to the Trash.")
                          : localized("%1 项残留已移到废纸篓。", "%1 leftovers moved to the Trash.")
                                .arg(leftovers));
    if (result.failed > 0)
        sentences << localized("%1 项没有成功。", "%1 failed.").arg(result.failed);
    return sentences.join(localized("", " "));
}

} // namespace UninstallExecutor
