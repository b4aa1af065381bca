// The clean preview's JSON, the storage analysis JSON and the system status JSON (the older tool's
// keys): any bytes read without harm, and whatever was read writes back to text that reads as the
// same report.
#include "FuzzSupport.h"

#include "clean/CleanPreviewReport.h"
#include "status/SystemReportParser.h"
#include "vocabulary/KelvoError.h"

#include <QJsonDocument>

#include <optional>

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
    std::optional<SystemReport> status;
    try {
        status = SystemReportParser::parseStatus(bytes);
    } catch (const KelvoError&) {
        // Not a JSON object, or a value of the wrong type for its key: refused with a message.
    }
    // Outside the try: the written text must read back without any error.
    if (status)
        KELVO_FUZZ_CHECK(SystemReportParser::parseStatus(QJsonDocument(status->toJson()).toJson()) ==
                         *status);
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (document.isObject()) {
        const CleanPreviewReport report = CleanPreviewReport::fromJson(document.object());
        const QJsonDocument written(report.toJson());
        KELVO_FUZZ_CHECK(CleanPreviewReport::fromJson(QJsonDocument::fromJson(written.toJson()).object()) ==
                         report);
    }
    return 0;
}
