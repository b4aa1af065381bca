#include "cli/CliSupport.h"

#include "vocabulary/AppLocalization.h"
#include "vocabulary/SizeText.h"
#include "vocabulary/TargetSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLocale>
#include <QTextStream>

namespace CommandLine {

QString L(const char* zh, const char* en)
{
    return AppLocalization::localized(QString::fromUtf8(zh), QString::fromUtf8(en));
}

int usageError(Streams& streams, const QString& message)
{
    streams.err << message << '\n'
                << L("运行 kelvo --help 查看用法。", "Run kelvo --help for usage.") << '\n';
    streams.err.flush();
    return 2;
}

std::optional<int> actingRefused(const Environment& environment, Streams& streams)
{
    if (const std::optional<QString> refusal = TargetSystems::actingRefusal(environment.target))
        return failure(streams, *refusal);
    return std::nullopt;
}

int failure(Streams& streams, const QString& message)
{
    streams.err << message << '\n';
    streams.err.flush();
    return 1;
}

bool confirmed(Streams& streams, const QString& prompt)
{
    streams.out << prompt;
    streams.out.flush();
    const QString answer = streams.in.readLine().trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes") || answer == QStringLiteral("是");
}

std::optional<QString> folderProblem(const QString& path)
{
    const QFileInfo folder(path);
    const QString quoted = QStringLiteral("“%1”").arg(path);
    if (!folder.exists())
        return L("%1 不存在。", "%1 does not exist.").arg(quoted);
    if (!folder.isDir())
        return L("%1 不是文件夹。", "%1 is not a folder.").arg(quoted);
    if (!folder.isReadable() || !folder.isExecutable())
        return L("无法读取 %1：没有权限。", "Could not read %1: permission denied.").arg(quoted);
    return std::nullopt;
}

QString namedFolder(Streams& streams, const QString& path)
{
    const QFileInfo named(path);
    const QString target = named.canonicalFilePath();
    if (target.isEmpty() || target == QDir::cleanPath(named.absoluteFilePath()))
        return path;
    streams.err << L("“%1”经过链接，分析它指向的文件夹：%2",
                     "“%1” goes through a link; looking at the folder it leads to: %2")
                       .arg(path, target)
                << '\n';
    streams.err.flush();
    return target;
}

QString counted(qint64 count, const char* measure, const char* one, const char* many)
{
    const QString number = QLocale().toString(count);
    return AppLocalization::localized(number + QLatin1Char(' ') + QString::fromUtf8(measure),
                                      number + QLatin1Char(' ') + QString::fromUtf8(count == 1 ? one : many));
}

TerminalProgress::TerminalProgress(Streams& streams)
    : m_streams(streams)
{
}

TerminalProgress::~TerminalProgress()
{
    if (m_shownWidth == 0)
        return;
    m_streams.err << '\r' << QString(m_shownWidth, QLatin1Char(' ')) << '\r';
    m_streams.err.flush();
}

void TerminalProgress::show(const QString& counted, const QString& folder)
{
    if (!m_streams.errIsTerminal)
        return;
    constexpr qsizetype widest = 78; // the line never wraps on an 80-column terminal
    QString line = counted + QStringLiteral(" · ");
    const qsizetype room = widest - line.size();
    line += folder.size() <= room ? folder : QStringLiteral("…") + folder.right(room - 1);
    const QMutexLocker lock(&m_mutex);
    // Spaces over what the last line had beyond this one: a carriage return does not clear.
    m_streams.err << '\r' << line.leftJustified(m_shownWidth);
    m_streams.err.flush();
    m_shownWidth = std::max(m_shownWidth, line.size());
}

bool wantsColour(const Streams& streams, const Environment& environment)
{
    const QProcessEnvironment& process = environment.processEnvironment;
    return streams.outIsTerminal && process.value(QStringLiteral("NO_COLOR")).isEmpty() &&
           process.value(QStringLiteral("TERM")) != QLatin1String("dumb");
}

void printJson(Streams& streams, const QString& kind, const QDateTime& generatedAt, QJsonObject content)
{
    content.insert(QStringLiteral("kind"), kind);
    content.insert(QStringLiteral("generated_at"), generatedAt.toUTC().toString(Qt::ISODateWithMs));
    streams.out << QJsonDocument(content).toJson(QJsonDocument::Indented);
    streams.out.flush();
}

void putSize(QJsonObject& json, const QString& key, qint64 bytes)
{
    json.insert(key, bytes);
    json.insert(key + QStringLiteral("_text"), SizeText::bytes(bytes));
}

} // namespace CommandLine
