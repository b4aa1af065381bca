#include "AnalysisReportPresenter.h"

#include "vocabulary/PathText.h"

#include <QByteArrayView>
#include <QVariantList>

namespace AnalysisReportPresenter {

namespace {

// The kind as the page tells it: "file", "folder", "unreadableFolder", "link", "danglingLink" or
// "special"; a report of the older tool has only is_dir.
QString kindName(const AnalysisReport::Entry& entry)
{
    using Kind = AnalysisReport::Kind;
    switch (entry.kind.value_or(entry.isDirectory.value_or(false) ? Kind::folder : Kind::file)) {
    case Kind::file:
        return QStringLiteral("file");
    case Kind::folder:
        return QStringLiteral("folder");
    case Kind::unreadableFolder:
        return QStringLiteral("unreadableFolder");
    case Kind::link:
        return QStringLiteral("link");
    case Kind::danglingLink:
        return QStringLiteral("danglingLink");
    case Kind::special:
        break;
    }
    return QStringLiteral("special");
}

QVariantList rows(const std::vector<AnalysisReport::Entry>& entries, qint64 total)
{
    QVariantList list;
    for (const AnalysisReport::Entry& entry : entries) {
        const qint64 size = entry.size.value_or(0);
        // Only a path whose text does not spell its bytes is shown from the bytes.
        const QByteArray bytes = entry.rawPath.value_or(QByteArray());
        const QByteArray name = bytes.mid(bytes.lastIndexOf('/') + 1);
        list.append(QVariantMap{
            {QStringLiteral("key"), keyOf(entry)},
            {QStringLiteral("name"), entry.rawPath ? PathText::shown(name) : entry.name.value_or(QString())},
            {QStringLiteral("path"), entry.rawPath ? PathText::shown(bytes) : entry.path.value_or(QString())},
            {QStringLiteral("nameNotUtf8"), !QByteArrayView(name).isValidUtf8()},
            {QStringLiteral("size"), size},
            {QStringLiteral("isDirectory"), entry.isDirectory.value_or(false)},
            {QStringLiteral("kind"), kindName(entry)},
            {QStringLiteral("share"), total > 0 ? double(size) / double(total) : 0.0}});
    }
    return list;
}

} // namespace

QVariantMap present(const AnalysisReport& report)
{
    const qint64 total = report.totalSize.value_or(0);
    const AnalysisReport::LeftOut leftOut = report.leftOut.value_or(AnalysisReport::LeftOut{});
    return {{QStringLiteral("path"),
             report.rawPath ? PathText::shown(*report.rawPath) : report.path.value_or(QString())},
            {QStringLiteral("hiddenItems"), leftOut.hiddenItems},
            {QStringLiteral("hiddenFileBytes"), leftOut.hiddenFileBytes},
            {QStringLiteral("protectedFolders"), leftOut.protectedFolders},
            {QStringLiteral("totalSize"), total},
            {QStringLiteral("totalFiles"), report.totalFiles.value_or(0)},
            {QStringLiteral("entries"), rows(report.entries, total)},
            {QStringLiteral("largeFiles"), rows(report.largeFiles, total)}};
}

QString keyOf(const AnalysisReport::Entry& entry)
{
    return QString::fromLatin1(entry.bytes().toPercentEncoding("/"));
}

QByteArray bytesOfKey(const QString& key)
{
    return QByteArray::fromPercentEncoding(key.toUtf8());
}

} // namespace AnalysisReportPresenter
