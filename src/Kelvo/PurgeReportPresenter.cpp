#include "PurgeReportPresenter.h"

#include "vocabulary/SizeText.h"

#include <QVariantList>

#include <algorithm>
#include <map>

namespace PurgeReportPresenter {

QVariantMap present(const PurgePreviewReport& report, const QSet<QString>& trashedPaths)
{
    struct Group {
        PurgeEcosystem ecosystem = PurgeEcosystem::other;
        qint64 bytes = 0;
        QVariantList entries;
    };
    std::map<PurgeEcosystem, Group> byEcosystem;
    qint64 totalBytes = 0;
    int remaining = 0;
    QVariantList chosenByDefault; // a list the page can copy as a plain array
    for (const PurgePreviewReport::Entry& entry : report.entries) {
        Group& group = byEcosystem[entry.ecosystem];
        group.ecosystem = entry.ecosystem;
        if (!trashedPaths.contains(entry.path)) {
            group.bytes += entry.byteCount;
            totalBytes += entry.byteCount;
            ++remaining;
            if (entry.chosenByDefault())
                chosenByDefault.append(entry.path);
        }
        group.entries.append(
            QVariantMap{{QStringLiteral("name"), entry.name},
                        {QStringLiteral("path"), entry.path},
                        {QStringLiteral("target"), entry.target},
                        {QStringLiteral("byteCount"), entry.byteCount},
                        {QStringLiteral("sizeText"), entry.sizeText()},
                        {QStringLiteral("detailText"), entry.detailText().value_or(QString())},
                        {QStringLiteral("projectFile"), entry.projectFile},
                        {QStringLiteral("chosenByDefault"), entry.chosenByDefault()}});
    }
    std::vector<Group> groups;
    for (auto& [ecosystem, group] : byEcosystem)
        groups.push_back(std::move(group));
    // Largest first; equal sizes keep the ecosystems' declared order.
    std::stable_sort(groups.begin(), groups.end(),
                     [](const Group& a, const Group& b) { return a.bytes > b.bytes; });
    QVariantList list;
    for (const Group& group : groups)
        list.append(QVariantMap{{QStringLiteral("title"), PurgeEcosystems::title(group.ecosystem)},
                                {QStringLiteral("totalBytes"), group.bytes},
                                {QStringLiteral("entries"), group.entries}});
    return {{QStringLiteral("rootPath"), report.rootPath},
            {QStringLiteral("totalBytes"), totalBytes},
            {QStringLiteral("totalSizeText"), SizeText::bytes(totalBytes)},
            {QStringLiteral("entryCount"), remaining},
            {QStringLiteral("chosenByDefault"), chosenByDefault},
            {QStringLiteral("groups"), list}};
}

} // namespace PurgeReportPresenter
