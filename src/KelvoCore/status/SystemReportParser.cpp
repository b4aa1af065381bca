#include "status/SystemReportParser.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"

#include <QJsonDocument>

namespace SystemReportParser {

AnalysisReport parseAnalysis(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw KelvoError(
            AppLocalization::localized(QStringLiteral("空间分析报告不是有效的 JSON。"),
                                       QStringLiteral("The storage analysis report is not valid JSON.")));
    return AnalysisReport::fromJson(document.object());
}

} // namespace SystemReportParser
