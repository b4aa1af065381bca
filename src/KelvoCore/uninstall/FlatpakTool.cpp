#include "uninstall/FlatpakTool.h"

#include "platform/ToolRunner.h"
#include "vocabulary/AppLocalization.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

namespace FlatpakTool {

namespace {

// Why a run did not succeed, for the note and the uninstall's failure.
QString failureText(const ToolRunner::Result& result, std::chrono::milliseconds timeLimit)
{
    if (!result.started)
        return AppLocalization::localized(QStringLiteral("flatpak 无法运行。"),
                                          QStringLiteral("flatpak could not be run."));
    if (result.timedOut)
        return AppLocalization::localized(QStringLiteral("flatpak 在 %1 秒内没有完成。"),
                                          QStringLiteral("flatpak did not finish within %1 seconds."))
            .arg(std::chrono::duration_cast<std::chrono::seconds>(timeLimit).count());
    if (result.exitCode < 0)
        return AppLocalization::localized(QStringLiteral("flatpak 意外退出。"),
                                          QStringLiteral("flatpak ended unexpectedly."));
    return AppLocalization::localized(QStringLiteral("flatpak 以状态 %1 结束。"),
                                      QStringLiteral("flatpak exited with status %1."))
        .arg(result.exitCode);
}

} // namespace

bool isApplicationID(const QString& text)
{
    static const QRegularExpression form(QStringLiteral(R"(^[A-Za-z_][A-Za-z0-9_-]*(\.[A-Za-z0-9_-]+)+$)"));
    return text.size() <= 255 && form.match(text).hasMatch();
}

std::optional<qint64> parseSize(const QString& text)
{
    static const QRegularExpression form(QStringLiteral(R"(^(\d+(?:[.,]\d+)?)\s*(bytes?|[kKMGTP]i?B)$)"));
    QString spaced = text.trimmed();
    spaced.replace(QChar(0x00A0), u' ').replace(QChar(0x202F), u' ');
    const QRegularExpressionMatch match = form.match(spaced);
    if (!match.hasMatch())
        return std::nullopt;
    const double number = match.captured(1).replace(u',', u'.').toDouble();
    const QString unit = match.captured(2);
    const double base = unit.contains(u'i') ? 1024.0 : 1000.0;
    const int power =
        unit.startsWith(u'b') ? 0 : int(QStringLiteral("KMGTP").indexOf(unit.front().toUpper())) + 1;
    const double bytes = std::round(number * std::pow(base, power));
    if (!(bytes < 9.0e18))
        return std::nullopt;
    return qint64(bytes);
}

std::vector<App> parseList(const QByteArray& output)
{
    std::vector<App> apps;
    for (const QByteArray& line : output.split('\n')) {
        const QStringList columns = QString::fromUtf8(line).split(u'\t');
        const QString id = columns.value(0).trimmed();
        if (!isApplicationID(id))
            continue;
        const QString name = columns.value(1).trimmed();
        apps.push_back({id, name.isEmpty() ? id.section(u'.', -1) : name, columns.value(2).trimmed(),
                        parseSize(columns.value(3))});
    }
    return apps;
}

Listing list(const QString& tool, std::chrono::milliseconds timeLimit)
{
    if (!QFileInfo(tool).isFile())
        return {};
    const ToolRunner::Result result =
        ToolRunner::run({tool,
                         {QStringLiteral("list"), QStringLiteral("--user"), QStringLiteral("--app"),
                          QStringLiteral("--columns=application,name,version,size")},
                         timeLimit});
    if (!result.succeeded())
        return {{},
                AppLocalization::localized(QStringLiteral("没有列出 Flatpak 应用："),
                                           QStringLiteral("Flatpak apps were not listed: ")) +
                    failureText(result, timeLimit)};
    return {parseList(result.standardOutput), std::nullopt};
}

std::optional<QString> uninstall(const QString& tool, const QString& id, std::chrono::milliseconds timeLimit)
{
    if (!isApplicationID(id))
        return AppLocalization::localized(QStringLiteral("这不是 Flatpak 应用 ID。"),
                                          QStringLiteral("This is not a Flatpak application ID."));
    const ToolRunner::Result result = ToolRunner::run(
        {tool,
         {QStringLiteral("uninstall"), QStringLiteral("--user"), QStringLiteral("--noninteractive"), id},
         timeLimit});
    if (result.succeeded())
        return std::nullopt;
    return failureText(result, timeLimit);
}

} // namespace FlatpakTool
