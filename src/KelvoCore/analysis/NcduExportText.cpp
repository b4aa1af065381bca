#include "analysis/NcduExportText.h"

#include "vocabulary/AppLocalization.h"

#include <QLocale>

namespace {

QString text(const char* zh, const char* en)
{
    return AppLocalization::localized(QString::fromUtf8(zh), QString::fromUtf8(en));
}

QString quoted(const QString& name)
{
    return QStringLiteral("“%1”").arg(name);
}

QString key(QByteArrayView name)
{
    return quoted(QString::fromUtf8(name));
}

} // namespace

namespace NcduExportText {

QString refused(qint64 offset, const QString& reason)
{
    return text("无法导入这个 ncdu 导出文件，第 %1 字节处：%2。",
                "The ncdu export cannot be imported, at byte %1: %2.")
        .arg(offset)
        .arg(reason);
}

QString endsEarly()
{
    return text("文件在导出内容结束之前就结束了", "the file ends before the export does");
}

QString readFailed(const QString& error)
{
    return text("无法读取文件（%1）", "the file could not be read (%1)").arg(error);
}

QString cancelled()
{
    return text("导入已取消", "the import was cancelled");
}

QString notAnExport()
{
    return text("文件不是以 [1, 次版本, {…}, […]] 开头的 ncdu 导出",
                "this is not an ncdu export, which starts as [1, minor version, {…}, […]]");
}

QString unsupportedMajorVersion(quint64 major)
{
    return text("不支持格式主版本 %1，只支持 1", "format version %1 is not supported, only 1 is").arg(major);
}

QString versionOutOfRange()
{
    return text("格式版本必须是 0 到 10000 之间的整数",
                "a format version must be a whole number from 0 to 10000");
}

QString rootNotFolder()
{
    return text("被分析的文件夹必须写成列表 […]", "the analysed folder must be written as a list […]");
}

QString folderWithoutDetails()
{
    return text("文件夹的列表必须以它自己的信息 {…} 开头",
                "a folder's list must start with its own details {…}");
}

QString unexpected(char found, const QString& expected)
{
    const QString shown = found >= 0x20 && found < 0x7F
                              ? QString(QLatin1Char(found))
                              : QStringLiteral("\\x%1").arg(quint8(found), 2, 16, QLatin1Char('0'));
    return text("这里应是%1，却是“%2”", "%1 was expected here, not “%2”").arg(expected, shown);
}

QString madeBy(const StorageTree::Origin& origin)
{
    const QString program = origin.program.isEmpty()
                                ? text("未知程序", "an unknown program")
                                : (origin.program + u' ' + origin.programVersion).trimmed();
    const QString when = origin.scanned ? QLocale().toString(*origin.scanned, QLocale::ShortFormat)
                                        : text("未知时间", "an unknown date");
    return text("%1 于 %2", "%1 on %2").arg(program, when);
}

QString expectedValue()
{
    return text("一个值", "a value");
}

QString expectedCommaOrEnd()
{
    return text("逗号或结束括号", "a comma or a closing bracket");
}

QString expectedColon()
{
    return text("冒号", "a colon");
}

QString expectedKey()
{
    return text("一个用引号括起的键", "a quoted key");
}

QString expectedItem()
{
    return text("一个文件夹 […] 或一个项目 {…}", "a folder […] or an item {…}");
}

QString trailingContent()
{
    return text("导出内容结束之后还有别的内容", "something follows the end of the export");
}

QString nestedTooDeep(int levels)
{
    return text("嵌套超过 %1 层", "it is nested deeper than %1 levels").arg(levels);
}

QString tooManyItems(std::size_t items)
{
    return text("项目超过 %1 个", "it holds more than %1 items").arg(items);
}

QString missingName()
{
    return text("一个项目没有名称", "an item has no name");
}

QString invalidName(QByteArrayView name)
{
    return text("%1 不能作为名称：名称不能为空、不能是“.”或“..”，也不能含有“/”或 NUL 字节",
                "%1 is not a valid name: a name is not empty, “.” or “..”, and holds no “/” or NUL byte")
        .arg(quoted(QString::fromUtf8(name)));
}

QString invalidRootName()
{
    return text("被分析文件夹的路径为空或含有 NUL 字节",
                "the analysed folder's path is empty or holds a NUL byte");
}

QString nameTooLong(qsizetype bytes)
{
    return text("名称超过 %1 字节", "a name is longer than %1 bytes").arg(bytes);
}

QString notWholeNumber(QByteArrayView name, const QString& least, const QString& most)
{
    return text("%1 必须是 %2 到 %3 之间的整数", "%1 must be a whole number from %2 to %3")
        .arg(key(name), least, most);
}

QString notTrueOrFalse(QByteArrayView name)
{
    return text("%1 必须是 true 或 false", "%1 must be true or false").arg(key(name));
}

QString notText(QByteArrayView name)
{
    return text("%1 必须是字符串", "%1 must be a string").arg(key(name));
}

QString malformedNumber()
{
    return text("数字格式不正确", "a number is malformed");
}

QString invalidEscape()
{
    return text("字符串含有无效的转义序列", "a string holds an invalid escape");
}

QString loneSurrogate()
{
    return text("字符串含有不成对的 UTF-16 代理项", "a string holds half of a UTF-16 surrogate pair");
}

QString controlCharacter()
{
    return text("字符串含有未转义的控制字符", "a string holds a control character that is not escaped");
}

QString nothingToWrite()
{
    return text("没有可导出的分析结果。", "There is no analysis to export.");
}

QString writeFailed(const QString& error)
{
    return text("无法写入导出文件：%1", "Could not write the export: %1").arg(error);
}

} // namespace NcduExportText
