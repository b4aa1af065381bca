// The clean preview's JSON and the storage analysis JSON (the older tool's keys): any bytes read
// without harm, and whatever was read writes back to text that reads as the same report.
#include "FuzzSupport.h"

#include "clean/CleanPreviewReport.h"
#include "status/SystemReportParser.h"
#include "vocabulary/KelvoError.h"

#include <QJsonDocument>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::useEnglish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzSupport::bytes(data, size);
    try {
        const AnalysisReport analysis = SystemReportParser::parseAnalysis(bytes);
        KELVO_FUZZ_CHECK(SystemReportParser::parseAnalysis(QJsonDocument(analysis.toJson()).toJson()) ==
                         analysis);
    } catch (const KelvoError&) {
        // Not a JSON object: refused with a message, as it should be.
    }
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (document.isObject()) {
        const CleanPreviewReport report = CleanPreviewReport::fromJson(document.object());
        const QJsonDocument written(report.toJson());
        KELVO_FUZZ_CHECK(CleanPreviewReport::fromJson(QJsonDocument::fromJson(written.toJson()).object()) ==
                         report);
    }
    return 0;
}
