// kelvo analyze, purge and installer: scans that list, as text or as JSON.
#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "analysis/LocalAnalysis.h"
#include "analysis/NcduExport.h"
#include "analysis/NcduExportText.h"
#include "installer/LocalInstallerPreview.h"
#include "platform/FileErrorText.h"
#include "purge/LocalPurgePreview.h"
#include "purge/PurgeEcosystem.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/PathText.h"
#include "vocabulary/SizeText.h"
#include "vocabulary/StableId.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QSaveFile>
#include <QTextStream>
#include <variant>

namespace CommandLine {

namespace {

QJsonObject purgeJson(const PurgePreviewReport& report)
{
    QJsonArray entries;
    for (const PurgePreviewReport::Entry& entry : report.entries) {
        QJsonObject json{{QStringLiteral("id"), entry.id.toString(QUuid::WithoutBraces)},
                         {QStringLiteral("name"), entry.name},
                         {QStringLiteral("path"), entry.path},
                         {QStringLiteral("target"), entry.target},
                         {QStringLiteral("files"), entry.fileCount.value_or(0)},
                         {QStringLiteral("folders"), entry.directoryCount.value_or(0)},
                         {QStringLiteral("ecosystem"), PurgeEcosystems::title(entry.ecosystem)},
                         {QStringLiteral("project_file"), entry.projectFile},
                         {QStringLiteral("chosen_by_default"), entry.chosenByDefault()}};
        putSize(json, QStringLiteral("size"), entry.byteCount);
        entries.append(json);
    }
    QJsonObject json{{QStringLiteral("root_path"), report.rootPath}, {QStringLiteral("entries"), entries}};
    putSize(json, QStringLiteral("total_size"), report.totalBytes());
    return json;
}

QJsonObject installerJson(const InstallerPreviewReport& report)
{
    QJsonArray entries;
    for (const InstallerPreviewReport::Entry& entry : report.entries) {
        QJsonObject json{{QStringLiteral("id"), entry.id.toString(QUuid::WithoutBraces)},
                         {QStringLiteral("name"), entry.name},
                         {QStringLiteral("path"), entry.path},
                         {QStringLiteral("location"), entry.location},
                         {QStringLiteral("source_text"), entry.source.text()}};
        // Only a Linux installer has a kind; the macOS types keep the keys they always had.
        if (!entry.kind.isEmpty()) {
            json.insert(QStringLiteral("kind"), entry.kind);
            json.insert(QStringLiteral("kind_text"), entry.kindText.text());
        }
        putSize(json, QStringLiteral("size"), entry.byteCount);
        entries.append(json);
    }
    QJsonObject json{{QStringLiteral("entries"), entries}};
    putSize(json, QStringLiteral("total_size"), report.totalBytes());
    return json;
}

// What a listed child is when it is not a plain file or folder; links are never followed.
QString kindNote(const AnalysisReport::Entry& entry)
{
    switch (entry.kind.value_or(AnalysisReport::Kind::file)) {
    case AnalysisReport::Kind::link:
        return L("  （链接，不跟随）", "  (link, not followed)");
    case AnalysisReport::Kind::danglingLink:
        return L("  （失效链接）", "  (dangling link)");
    case AnalysisReport::Kind::special:
        return L("  （特殊文件）", "  (special file)");
    default:
        return {};
    }
}

// A listed name as people read it: bytes that are not UTF-8 as "\xFF".
QString shownName(const AnalysisReport::Entry& entry)
{
    return entry.rawPath ? PathText::shown(entry.rawPath->mid(entry.rawPath->lastIndexOf('/') + 1))
                         : entry.name.value_or(QString());
}

QString leftOutLine(const AnalysisReport::LeftOut& leftOut)
{
    QStringList parts;
    if (leftOut.hiddenItems > 0)
        parts << L("%1 个隐藏项目（其中的文件共 %2）", "%1 hidden items (their files: %2)")
                     .arg(leftOut.hiddenItems)
                     .arg(SizeText::bytes(leftOut.hiddenFileBytes));
    if (!leftOut.protectedFolders.isEmpty())
        parts << L("macOS 需要授权才能读取的文件夹 %1", "the folders macOS asks permission for, %1")
                     .arg(leftOut.protectedFolders.join(L("、", ", ")));
    if (parts.isEmpty())
        return {};
    return L("未计入：%1。加上 --all 可把它们算进来。", "Not counted: %1. Add --all to include them.")
        .arg(parts.join(L("；", "; ")));
}

} // namespace

std::optional<QString> anyFile(const QString&)
{
    return std::nullopt; // opened when it is read or written, where a failure says why
}

namespace {

// The tree of a scan exported by ncdu, gdu or Kelvo; or why it cannot be read.
std::variant<StorageWalk::Result, QString> importedScan(const QString& file, Streams& streams)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return FileErrorText::cannotRead(file, input.error());
    TerminalProgress progress(streams);
    NcduExport::ReadOptions options;
    options.progress = [&](std::size_t items) {
        progress.show(counted(qint64(items), "项", "item", "items"), QFileInfo(file).fileName());
    };
    std::variant<StorageTree, QString> read = NcduExport::read(input, options);
    if (QString* message = std::get_if<QString>(&read))
        return *message;
    return LocalAnalysis::imported(std::move(std::get<StorageTree>(read)));
}

// "Imported scan of /srv, made by ncdu 1.18 on 1 Dec 2026 10:00."
QString originLine(const StorageTree::Origin& origin)
{
    return L("导入的扫描：%1，由 %2 生成。", "Imported scan of %1, made by %2.")
        .arg(PathText::shown(origin.rootPath), NcduExportText::madeBy(origin));
}

} // namespace

int analyze(const Arguments& arguments, const Environment& environment, Streams& streams)
{
    const QString importFrom = arguments.value("--import");
    QString path;
    std::optional<StorageWalk::Result> walked;
    const QDateTime started = QDateTime::currentDateTimeUtc();
    if (!importFrom.isEmpty()) {
        std::variant<StorageWalk::Result, QString> scan = importedScan(importFrom, streams);
        if (const QString* message = std::get_if<QString>(&scan))
            return failure(streams, *message);
        walked = std::move(std::get<StorageWalk::Result>(scan));
        path = PathText::shown(walked->tree.origin.rootPath);
    } else {
        if (const std::optional<QString> problem = folderProblem(arguments.operands.constFirst()))
            return failure(streams, *problem);
        path = namedFolder(streams, arguments.operands.constFirst());
        LocalAnalysis::Options options;
        options.system = environment.target.system;
        options.countEverything = arguments.has("--all");
        TerminalProgress progress(streams);
        options.onProgress = [&](const LocalAnalysis::Progress& now) {
            progress.show(counted(now.items, "项", "item", "items"), now.folder);
        };
        walked =
            StorageWalk::walk(QFile::encodeName(path), LocalAnalysis::walkOptions(environment.home, options));
        walked->tree.origin.programVersion = environment.version;
    }
    if (const QString exportTo = arguments.value("--export"); !exportTo.isEmpty()) {
        QSaveFile output(exportTo);
        if (!output.open(QIODevice::WriteOnly))
            return failure(streams, FileErrorText::cannotWrite(exportTo, output.error()));
        if (const std::optional<QString> problem = NcduExport::write(walked->tree, output))
            return failure(streams, *problem);
        if (!output.commit())
            return failure(streams, FileErrorText::cannotWrite(exportTo, output.error()));
        streams.err << L("已把 %1 写入 %2（ncdu 导出格式）。", "Wrote %1 to %2 (ncdu's export format).")
                           .arg(counted(qint64(walked->tree.size()), "项", "item", "items"), exportTo)
                    << '\n';
        streams.err.flush();
    }
    AnalysisReport report = LocalAnalysis::reportOf(*walked);
    if (importFrom.isEmpty())
        report.path = path;
    if (arguments.has("--json")) {
        // The older tool's keys, so its readers (and SystemReportParser) read it as they always did.
        printJson(streams, QStringLiteral("analysis"), started, report.toJson());
        return 0;
    }
    if (walked->tree.origin.imported)
        streams.out << originLine(walked->tree.origin) << '\n';
    streams.out << L("位置：", "Location: ") << path << '\n'
                << L("文件：", "Files: ") << report.totalFiles.value_or(0) << "  " << L("合计：", "Total: ")
                << SizeText::bytes(report.totalSize.value_or(0)) << "\n\n"
                << L("占用靠前的项目", "Largest space users") << '\n';
    for (const AnalysisReport::Entry& entry : report.entries) {
        const bool unreadable = entry.kind == AnalysisReport::Kind::unreadableFolder;
        streams.out << "  "
                    << (unreadable ? L("无法读取", "Cannot be read")
                                   : SizeText::bytes(entry.size.value_or(0)))
                           .rightJustified(10)
                    << "  " << shownName(entry) << (entry.isDirectory.value_or(false) ? "/" : "")
                    << kindNote(entry) << '\n';
    }
    if (const QString leftOut = leftOutLine(report.leftOut.value_or(AnalysisReport::LeftOut{}));
        !leftOut.isEmpty())
        streams.out << '\n' << leftOut << '\n';
    streams.out << '\n' << L("大文件", "Large Files") << '\n';
    for (const AnalysisReport::Entry& file : report.largeFiles)
        streams.out << "  " << SizeText::bytes(file.size.value_or(0)).rightJustified(10) << "  "
                    << (file.rawPath ? PathText::shown(*file.rawPath) : file.path.value_or(QString()))
                    << '\n';
    streams.out.flush();
    return 0;
}

int purge(const Arguments& arguments, const Environment& environment, Streams& streams)
{
    if (const std::optional<QString> problem = folderProblem(arguments.operands.constFirst()))
        return failure(streams, *problem);
    const QString path = namedFolder(streams, arguments.operands.constFirst());
    LocalPurgePreview::Options options;
    options.home = environment.home;
    const PurgePreviewReport report = [&] {
        TerminalProgress progress(streams);
        options.onProgress = [&](const LocalPurgePreview::Progress& now) {
            progress.show(counted(now.foldersSeen, "个文件夹", "folder", "folders"), now.folder);
        };
        return LocalPurgePreview::snapshot(path, LocalPurgePreview::defaultMaxDepth, options);
    }();
    if (arguments.has("--json")) {
        printJson(streams, QStringLiteral("purge_preview"), report.generatedAt, purgeJson(report));
        return 0;
    }
    for (const PurgePreviewReport::Entry& entry : report.entries)
        streams.out << SizeText::bytes(entry.byteCount).rightJustified(10) << "  "
                    << PurgeEcosystems::title(entry.ecosystem).leftJustified(18) << entry.path
                    << (entry.chosenByDefault() ? QString()
                                                : L("  （没有找到项目文件）", "  (no project file found)"))
                    << '\n';
    streams.out << counted(qint64(report.entries.size()), "个项目产物", "build artefact", "build artefacts")
                << L("，合计 ", ", ") << report.totalSizeText() << L("", " in all") << '\n';
    streams.out.flush();
    return 0;
}

int installer(const Arguments& arguments, const Environment& environment, Streams& streams)
{
    const InstallerPreviewReport report = LocalInstallerPreview::snapshot(
        environment.home, LocalInstallerPreview::systemPlaces(environment.target.system));
    if (arguments.has("--json")) {
        printJson(streams, QStringLiteral("installer_preview"), report.generatedAt, installerJson(report));
        return 0;
    }
    for (const InstallerPreviewReport::Entry& entry : report.entries)
        streams.out << entry.sizeText().rightJustified(10) << "  " << entry.source.text().leftJustified(14)
                    << entry.path
                    << (entry.kindText.isEmpty() ? QString() : "  (" + entry.kindText.text() + ')') << '\n';
    streams.out << counted(qint64(report.entries.size()), "个安装包", "installer file", "installer files")
                << L("，合计 ", ", ") << report.totalSizeText() << L("", " in all") << '\n';
    streams.out.flush();
    return 0;
}

} // namespace CommandLine
