// kelvo clean: the Smart Clean preview in the older tool's report format or as JSON, and the real clean.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "clean/CleanChoice.h"
#include "clean/CleanReportText.h"
#include "clean/LocalCleanExecutor.h"
#include "clean/LocalCleanPreview.h"
#include "platform/HomeFolder.h"
#include "vocabulary/KelvoError.h"
#include "vocabulary/SizeText.h"

#include <QSet>
#include <QTextStream>

namespace CommandLine {

int clean(const Arguments& arguments, const Environment& environment, Streams& streams)
{
    const bool dryRun = arguments.has("--dry-run");
    const bool json = arguments.has("--json");
    // Smart Clean's places lie in the home folder; without a sound one there is nothing to preview.
    if (const std::optional<QString> problem = HomeFolder::problem(environment.home))
        return failure(streams, *problem);

    LocalCleanPreview::Options options;
    options.system = environment.target.system;
    const CleanPreviewReport report = [&] {
        TerminalProgress progress(streams);
        options.onProgress = [&](const LocalCleanPreview::Progress& now) {
            progress.show(counted(now.itemsMeasured, "项", "item", "items"), now.location);
        };
        return LocalCleanPreview::snapshot(environment.home, options);
    }();
    if (json) {
        printJson(streams, QStringLiteral("clean_preview"), report.generatedAt, report.toJson());
        return 0;
    }
    streams.out << CleanReportText::terminalReport(report, wantsColour(streams, environment),
                                                   environment.target.system, dryRun);
    streams.out.flush();
    if (dryRun)
        return 0;
    if (const std::optional<int> refused = actingRefused(environment, streams))
        return *refused;

    // The terminal takes everything the preview offers, as a page with every entry chosen would.
    const QSet<QString> everything = CleanChoice::everything(report);
    if (everything.isEmpty()) {
        streams.out << L("没有需要清理的内容。", "Nothing to clean.") << '\n';
        return 0;
    }
    const QString prompt =
        CleanReportText::confirmation(CleanChoice::totals(report, everything, environment.home));
    if (!arguments.has("--yes") &&
        !confirmed(streams, prompt + QLatin1Char('\n') + L("继续吗？[y/N] ", "Continue? [y/N] "))) {
        streams.out << L("已取消，没有删除任何内容。", "Cancelled. Nothing was deleted.") << '\n';
        return 1;
    }
    LocalCleanResult result;
    try {
        result = LocalCleanExecutor::clean(CleanChoice::narrowed(report, everything), {environment.home},
                                           environment.home);
    } catch (const KelvoError& error) {
        return failure(streams, error.description());
    }
    streams.out << CleanReportText::outcome(result) << '\n';
    streams.out.flush();
    if (result.failedCount > 0)
        return failure(streams, FileRemover::leftBehindText(result.failedCount, result.left));
    return 0;
}

} // namespace CommandLine
