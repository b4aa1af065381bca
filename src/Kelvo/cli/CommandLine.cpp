#include "cli/CommandLine.h"

#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "vocabulary/AppLocalization.h"

#include <QTextStream>

#include <algorithm>
#include <numeric>
#include <vector>

namespace CommandLine {

namespace {

struct Request {
    QString command;
    QStringList words; // what follows the command
    QString error;     // set when the words do not form a command
};

// Takes --lang out (it applies to the whole run) and splits the rest into a command and its words.
Request parse(QStringList words)
{
    Request request;
    const qsizetype lang = words.indexOf(QStringLiteral("--lang"));
    if (lang >= 0) {
        const QString value = words.value(lang + 1);
        if (value == QLatin1String("zh"))
            AppLocalization::overrideLanguage(AppResolvedLanguage::chinese);
        else if (value == QLatin1String("en"))
            AppLocalization::overrideLanguage(AppResolvedLanguage::english);
        else
            request.error = L("--lang 只接受 en 或 zh。", "--lang takes en or zh.");
        words.remove(lang, std::min<qsizetype>(2, words.size() - lang));
    }
    request.command = words.isEmpty() ? QStringLiteral("help") : words.takeFirst();
    if (request.command == QLatin1String("--help") || request.command == QLatin1String("-h"))
        request.command = QStringLiteral("help");
    if (request.command == QLatin1String("--version"))
        request.command = QStringLiteral("version");
    request.words = words;
    return request;
}

// A command's words read by its rules: the options it knows (and --help), its value option, the
// operands it takes and how its options go together. QCommandLineParser is not used: it would also
// take "-x" clusters and "--name=value" forms and word its own errors, which these commands refuse
// and word as they always have.
struct Reading {
    Arguments arguments;
    QString usageError; // the words do not fit the rules (status 2)
    QString problem;    // the value option's value cannot be used (status 1)
};

Reading read(const Command& command, QStringList words)
{
    Reading reading;
    Arguments& given = reading.arguments;
    const QString name = QString::fromLatin1(command.name);
    for (const ValueOption& option : command.values) {
        if (const qsizetype at = words.indexOf(QLatin1String(option.name)); at >= 0) {
            if (at + 1 >= words.size() || words.at(at + 1).startsWith(QLatin1String("--"))) {
                reading.usageError = option.missing();
                return reading;
            }
            const QString value = words.takeAt(at + 1);
            words.removeAt(at);
            given.values.insert(QLatin1String(option.name), value);
            if (const std::optional<QString> problem = option.problem(value)) {
                reading.problem = *problem;
                return reading;
            }
        }
    }
    // As for any Unix tool, a word starting with "-" is an option and "--" ends the options, so a
    // path that starts with "-" is given after it.
    bool optionsEnded = false;
    for (const QString& word : std::as_const(words)) {
        if (!optionsEnded && word == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const bool option = !optionsEnded && word.size() > 1 && word.startsWith(QLatin1Char('-'));
        (command.operands == Operands::none || option ? given.flags : given.operands) << word;
    }
    for (const QString& flag : std::as_const(given.flags)) {
        if (flag != QLatin1String("--help") && !command.options.contains(flag)) {
            reading.usageError = L("%1 不认识这个选项：", "%1 does not know this option: ").arg(name) + flag;
            return reading;
        }
    }
    if (!command.dryRunOnly.isEmpty() && !given.has("--dry-run"))
        reading.usageError = command.dryRunOnly();
    else if (command.jsonNeedsDryRun && given.has("--json") && !given.has("--dry-run"))
        reading.usageError = L("--json 只能和 --dry-run 一起使用。", "--json goes with --dry-run only.");
    else if (command.pathGivenBy && given.values.contains(QLatin1String(command.pathGivenBy)) &&
             !given.operands.isEmpty())
        reading.usageError =
            L("%1 %2 不接受路径。", "%1 %2 takes no path.").arg(name, QLatin1String(command.pathGivenBy));
    else if (command.pathGivenBy && given.values.contains(QLatin1String(command.pathGivenBy)))
        return reading;
    else if (command.operands == Operands::onePath && given.operands.size() != 1)
        reading.usageError = (given.operands.isEmpty() ? L("%1 需要一个路径。", "%1 needs a path.")
                                                       : L("%1 只接受一个路径。", "%1 takes one path."))
                                 .arg(name);
    return reading;
}

// The language a program's locale variables name, given LC_ALL, LC_MESSAGES and LANG in that order:
// the first one set decides, as for any C program. None when none is set or the one that decides is
// "C" or "POSIX" (no language); Chinese for "zh...", English for every other language.
std::optional<AppResolvedLanguage> languageOfLocale(const QProcessEnvironment& process)
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = process.value(QString::fromLatin1(name));
        if (value.isEmpty())
            continue;
        const QString language = value.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
        if (language == QLatin1String("C") || language == QLatin1String("POSIX"))
            return std::nullopt;
        return language.startsWith(QLatin1String("zh")) ? AppResolvedLanguage::chinese
                                                        : AppResolvedLanguage::english;
    }
    return std::nullopt;
}

// The edits (a letter added, dropped or changed) that turn one word into the other.
qsizetype editDistance(const QString& from, const QString& to)
{
    std::vector<qsizetype> previous(std::size_t(to.size()) + 1), current(previous.size());
    std::iota(previous.begin(), previous.end(), 0);
    for (qsizetype i = 0; i < from.size(); ++i) {
        current[0] = i + 1;
        for (qsizetype j = 0; j < to.size(); ++j)
            current[std::size_t(j) + 1] =
                std::min({previous[std::size_t(j) + 1] + 1, current[std::size_t(j)] + 1,
                          previous[std::size_t(j)] + (from[i] == to[j] ? 0 : 1)});
        std::swap(previous, current);
    }
    return previous.back();
}

// The command a mistyped word most likely meant: the one nearest to it within two edits, when no
// other is as near.
std::optional<QString> nearestCommand(const QString& word)
{
    std::optional<QString> nearest;
    qsizetype best = 3;
    bool tie = false;
    for (const Command& command : commands()) {
        const QString name = QString::fromLatin1(command.name);
        const qsizetype distance = editDistance(word.toLower(), name);
        if (distance < best) {
            best = distance;
            nearest = name;
            tie = false;
        } else if (distance == best) {
            tie = true;
        }
    }
    return tie ? std::nullopt : nearest;
}

QString generalHelp()
{
    QString text =
        L("用法：kelvo [命令] [选项]\n\n不带命令时打开 Kelvo 窗口。\n\n命令：\n",
          "Usage: kelvo [command] [options]\n\nWithout a command, Kelvo opens its window.\n\nCommands:\n");
    for (const Command& command : commands())
        text += QStringLiteral("  ") + command.usage() + QLatin1Char('\n');
    text += L("  kelvo 命令 --help      一个命令的说明\n"
              "  kelvo --version        显示版本\n"
              "  kelvo --help           显示这段说明\n\n"
              "选项：\n"
              "  --lang en|zh           本次运行使用的语言\n\n"
              "退出状态：0 完成，1 被拒绝、停止或部分失败，2 用法错误。\n",
              "  kelvo COMMAND --help   one command's help\n"
              "  kelvo --version        show the version\n"
              "  kelvo --help           show this help\n\n"
              "Options:\n"
              "  --lang en|zh           the language of this run\n\n"
              "Exit status: 0 done, 1 refused, stopped or partly failed, 2 a usage error.\n");
    return text;
}

int printText(Streams& streams, const QString& text)
{
    streams.out << text;
    streams.out.flush();
    return 0;
}

} // namespace

bool wantsCommandLine(const QStringList& arguments)
{
    // Any word asks for the command line, an unknown one included, so a typo never opens the window.
    // macOS may hand an application launched from the Finder a "-psn_..." process number.
    return !arguments.isEmpty() && !arguments.first().startsWith(QLatin1String("-psn_"));
}

int run(const QStringList& arguments, const Environment& environment, Streams& streams)
{
    // The terminal's language, as its locale names it; --lang overrides it, and the window's choice
    // holds only when the locale names no language.
    AppLocalization::overrideLanguage(languageOfLocale(environment.processEnvironment));
    const Request request = parse(arguments);
    if (!request.error.isEmpty())
        return usageError(streams, request.error);
    if (request.command == QLatin1String("help") && request.words.isEmpty())
        return printText(streams, generalHelp());
    if (request.command == QLatin1String("version"))
        return printText(streams, QStringLiteral("Kelvo ") + environment.version + QLatin1Char('\n'));
    // "kelvo help clean" and "kelvo clean --help" both show the command's own help.
    const QString helpTopic =
        request.command == QLatin1String("help") ? request.words.value(0) : request.command;
    if (request.command == QLatin1String("help") || request.words.contains(QStringLiteral("--help"))) {
        if (const Command* command = findCommand(helpTopic))
            return printText(streams, L("用法：", "Usage: ") + command->usage() + QStringLiteral("\n\n") +
                                          command->help() + QLatin1Char('\n'));
    }
    if (const Command* command = findCommand(request.command)) {
        const Reading reading = read(*command, request.words);
        if (!reading.usageError.isEmpty())
            return usageError(streams, reading.usageError);
        if (!reading.problem.isEmpty())
            return failure(streams, reading.problem);
        return command->run(reading.arguments, environment, streams);
    }
    const QString unknown = request.command == QLatin1String("help") ? helpTopic : request.command;
    if (const std::optional<QString> meant = nearestCommand(unknown))
        return usageError(streams,
                          L("不认识的命令：%1。你是想输入 %2 吗？", "Unknown command: %1. Did you mean %2?")
                              .arg(unknown, *meant));
    return usageError(streams, L("不认识的命令：", "Unknown command: ") + unknown);
}

} // namespace CommandLine
