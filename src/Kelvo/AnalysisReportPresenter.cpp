#include "AnalysisReportPresenter.h"

#include <QVariantList>

namespace AnalysisReportPresenter {

namespace {

QVariantList rows(const std::vector<AnalysisReport::Entry>& entries, qint64 total)
{
    QVariantList list;
    for (const AnalysisReport::Entry& entry : entries) {
        const qint64 size = entry.size.value_or(0);
        list.append(QVariantMap{{QStringLiteral("name"), entry.name.value_or(QString())},
                                {QStringLiteral("path"), entry.path.value_or(QString())},
                                {QStringLiteral("size"), size},
                                {QStringLiteral("isDirectory"), entry.isDirectory.value_or(false)},
                                {QStringLiteral("share"), total > 0 ? double(size) / double(total) : 0.0}});
    }
    return list;
}

} // namespace

QVariantMap present(const AnalysisReport& report)
{
    const qint64 total = report.totalSize.value_or(0);
    return {{QStringLiteral("path"), report.path.value_or(QString())},
            {QStringLiteral("totalSize"), total},
            {QStringLiteral("totalFiles"), report.totalFiles.value_or(0)},
            {QStringLiteral("entries"), rows(report.entries, total)},
            {QStringLiteral("largeFiles"), rows(report.largeFiles, total)}};
}

} // namespace AnalysisReportPresenter
