#include "features/AnalysisReportPresenter.h"

#include "app/AppModelSupport.h"

#include "vocabulary/PathText.h"
#include "vocabulary/SizeText.h"

#include <QStringList>

using AppModelSupport::L;

namespace AnalysisReportPresenter {

QString shownPath(const AnalysisReport& report)
{
    return report.rawPath ? PathText::shown(*report.rawPath) : report.path.value_or(QString());
}

QString leftOutNote(const AnalysisReport& report)
{
    const AnalysisReport::LeftOut leftOut = report.leftOut.value_or(AnalysisReport::LeftOut{});
    QStringList parts;
    if (const qint64 hidden = leftOut.hiddenItems; hidden > 0) {
        const qint64 bytes = leftOut.hiddenFileBytes;
        parts << (bytes > 0 ? L("%1 个隐藏项目（其中的文件共 %2，隐藏文件夹未测量）",
                                "%1 hidden items (their files: %2; hidden folders not measured)")
                                  .arg(hidden)
                                  .arg(SizeText::bytes(bytes))
                            : L("%1 个隐藏项目", "%1 hidden items").arg(hidden));
    }
    if (!leftOut.protectedFolders.isEmpty())
        parts << L("macOS 需要授权才能读取的文件夹 ", "the folders macOS asks permission for, ") +
                     leftOut.protectedFolders.join(L("、", ", "));
    if (parts.isEmpty())
        return {};
    return L("未计入：%1。打开“统计全部内容”可把它们算进来。",
             "Not counted: %1. Turn on Count everything to include them.")
        .arg(parts.join(L("；", "; ")));
}

QString keyOf(const AnalysisReport::Entry& entry)
{
    return keyOfPath(entry.bytes());
}

QString keyOfPath(const QByteArray& path)
{
    return QString::fromLatin1(path.toPercentEncoding("/"));
}

QString typeName(StorageViews::FileType type)
{
    using Type = StorageViews::FileType;
    switch (type) {
    case Type::video:
        return L("视频", "Video");
    case Type::images:
        return L("图片", "Images");
    case Type::audio:
        return L("音频", "Audio");
    case Type::archives:
        return L("压缩包", "Archives");
    case Type::diskImages:
        return L("磁盘映像和安装包", "Disk images and packages");
    case Type::code:
        return L("代码", "Code");
    case Type::documents:
        return L("文档", "Documents");
    case Type::other:
        break;
    }
    return L("其他", "Other");
}

QByteArray bytesOfKey(const QString& key)
{
    return QByteArray::fromPercentEncoding(key.toUtf8());
}

} // namespace AnalysisReportPresenter
