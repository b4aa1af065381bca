#include "PurgeReportPresenter.h"

#include "purge/PurgeEcosystem.h"

#include <QVariantList>

#include <map>

namespace PurgeReportPresenter {

QVariantMap present(const PurgePreviewReport& report)
{
    struct Group {
        qint64 bytes = 0;
        QVariantList entries;
    };
    std::map<PurgeEcosystem, Group> groups; // ordered by the ecosystem's declaration order
    for (const PurgePreviewReport::Entry& entry : report.entries) {
        Group& group = groups[PurgeEcosystems::of(entry.target)];
        group.bytes += entry.byteCount;
        group.entries.append(
            QVariantMap{{QStringLiteral("name"), entry.name},
                        {QStringLiteral("path"), entry.path},
                        {QStringLiteral("target"), entry.target},
                        {QStringLiteral("byteCount"), entry.byteCount},
                        {QStringLiteral("sizeText"), entry.sizeText()},
                        {QStringLiteral("detailText"), entry.detailText().value_or(QString())}});
    }
    QVariantList list;
    for (const auto& [ecosystem, group] : groups)
        list.append(QVariantMap{{QStringLiteral("title"), PurgeEcosystems::title(ecosystem)},
                                {QStringLiteral("totalBytes"), group.bytes},
                                {QStringLiteral("entries"), group.entries}});
    return {{QStringLiteral("rootPath"), report.rootPath},
            {QStringLiteral("totalBytes"), report.totalBytes()},
            {QStringLiteral("totalSizeText"), report.totalSizeText()},
            {QStringLiteral("entryCount"), int(report.entries.size())},
            {QStringLiteral("groups"), list}};
}

} // namespace PurgeReportPresenter
