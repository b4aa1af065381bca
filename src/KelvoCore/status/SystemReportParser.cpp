#include "status/SystemReportParser.h"

#include "status/SystemReportJson.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"

#include <QJsonDocument>

namespace {

// The text's top-level object; `zh` and `en` say which report is not valid JSON.
QJsonObject topLevelObject(const QByteArray& json, const QString& zh, const QString& en)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw KelvoError(KelvoError::Kind::malformed, AppLocalization::localized(zh, en));
    return document.object();
}

} // namespace

namespace SystemReportParser {

AnalysisReport parseAnalysis(const QByteArray& json)
{
    return AnalysisReport::fromJson(
        topLevelObject(json, QStringLiteral("空间分析报告不是有效的 JSON。"),
                       QStringLiteral("The storage analysis report is not valid JSON.")));
}

SystemReport parseStatus(const QByteArray& json)
{
    return SystemReportJson::read(
        topLevelObject(json, QStringLiteral("系统状态报告不是有效的 JSON。"),
                       QStringLiteral("The system status report is not valid JSON.")));
}

} // namespace SystemReportParser
