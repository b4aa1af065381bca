#include "platform/DesktopEntry.h"

#include "vocabulary/PathText.h"

#include <QRegularExpression>

#include <utility>

namespace DesktopEntry {

namespace {

// The escapes a desktop entry's string values may hold.
QString decodedValue(const QString& value)
{
    QString decoded;
    decoded.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            decoded += value[i];
            continue;
        }
        switch (value[++i].unicode()) {
        case 's':
            decoded += u' ';
            break;
        case 'n':
            decoded += u'\n';
            break;
        case 't':
            decoded += u'\t';
            break;
        case 'r':
            decoded += u'\r';
            break;
        default:
            decoded += value[i];
            break;
        }
    }
    return decoded;
}

// The blanks around a line, a key and a value (a CR is what is left of a CR LF line end); any other
// white space, a form feed or a no-break space among them, belongs to the text.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r';
}

QString withoutBlanks(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text.toString();
}

// A command line's arguments are separated by spaces; a tab or a line feed (an escaped one) between
// them counts as one too. Any other white space is part of an argument.
bool separatesWords(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isTrue(const QString& value)
{
    return value.trimmed() == QLatin1String("true");
}

bool isEnv(const QString& word)
{
    return word == QLatin1String("env") || word.endsWith(QLatin1String("/env"));
}

// "VAR=value": a word that sets a variable for env rather than naming a program.
bool isAssignment(const QString& word)
{
    const qsizetype equals = word.indexOf(u'=');
    return equals > 0 && !word.left(equals).contains(u'/');
}

// env -S's string as words: split simply at blanks.
QStringList splitString(const QString& text)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t\\n]+"));
    return text.split(blanks, Qt::SkipEmptyParts);
}

// The words env runs, read from its arguments as GNU env reads them: options up to "--" or the first
// word that is none, then VAR=value words. None when env is given an option it does not take, or one
// without its argument: what it would run cannot be told.
std::optional<QStringList> commandAfterEnv(QStringList words)
{
    while (!words.isEmpty() && words.front().startsWith(u'-')) {
        const QString word = words.takeFirst();
        if (word == QLatin1String("--"))
            break;
        // The options that take an argument: "-u NAME", "-uNAME", "--unset=NAME", "--unset NAME", and
        // so on; -S's string is read as more arguments in its place.
        QChar option;
        QString argument;
        bool attached = false;
        if (word.startsWith(QLatin1String("--"))) {
            const qsizetype equals = word.indexOf(u'=');
            const QString name = word.mid(2, equals < 0 ? -1 : equals - 2);
            if (equals < 0 && (name == QLatin1String("ignore-environment") || name == QLatin1String("null") ||
                               name == QLatin1String("debug")))
                continue;
            static const std::pair<const char*, char> withArgument[] = {
                {"unset", 'u'}, {"chdir", 'C'}, {"split-string", 'S'}};
            for (const auto& [longName, shortName] : withArgument)
                if (name == QLatin1String(longName))
                    option = QLatin1Char(shortName);
            if (option.isNull())
                return std::nullopt;
            attached = equals >= 0;
            argument = word.mid(equals + 1);
        } else {
            // Short options, clustered as in "-iv0" or "-iu NAME"; "-" alone is -i.
            qsizetype i = 1;
            while (i < word.size() && QStringLiteral("iv0").contains(word[i]))
                ++i;
            if (i == word.size())
                continue;
            option = word[i];
            if (!QStringLiteral("uCS").contains(option))
                return std::nullopt;
            argument = word.mid(i + 1);
            attached = !argument.isEmpty();
        }
        if (!attached) {
            if (words.isEmpty())
                return std::nullopt;
            argument = words.takeFirst();
        }
        if (option == u'S')
            words = splitString(argument) + words;
    }
    while (!words.isEmpty() && isAssignment(words.front()))
        words.removeFirst();
    return words;
}

QString expandedHome(const QString& word, const QString& home)
{
    for (const QLatin1String prefix : {QLatin1String("~"), QLatin1String("$HOME"), QLatin1String("${HOME}")})
        if (word == prefix || word.startsWith(prefix + QLatin1Char('/')))
            return PathText::standardized(home + word.mid(prefix.size()));
    return word;
}

} // namespace

Entry parse(const QString& text)
{
    Entry entry;
    bool inMainGroup = false;
    // A desktop entry's lines end at a line feed only: a form feed, NEL or a Unicode line separator is
    // part of a value.
    for (const QString& rawLine : text.split(u'\n')) {
        const QString line = withoutBlanks(rawLine);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (!inMainGroup || equals <= 0)
            continue;
        const QString key = withoutBlanks(QStringView(line).left(equals));
        const QString value = decodedValue(withoutBlanks(QStringView(line).mid(equals + 1)));
        if (key == QLatin1String("Name"))
            entry.name = value;
        else if (key == QLatin1String("Name[zh_CN]") ||
                 (key == QLatin1String("Name[zh]") && entry.chineseName.isEmpty()))
            entry.chineseName = value;
        else if (key == QLatin1String("Exec"))
            entry.exec = value;
        else if (key == QLatin1String("TryExec"))
            entry.tryExec = value;
        else if (key == QLatin1String("Icon"))
            entry.icon = value;
        else if (key == QLatin1String("StartupWMClass"))
            entry.startupWMClass = value;
        else if (key == QLatin1String("Hidden"))
            entry.hidden = isTrue(value);
        else if (key == QLatin1String("NoDisplay"))
            entry.noDisplay = isTrue(value);
    }
    return entry;
}

QStringList commandWords(const QString& exec)
{
    QStringList words;
    QString word;
    bool quoted = false;
    bool inWord = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'"')
                quoted = false;
            else if (c == u'\\' && i + 1 < exec.size() && QStringLiteral("\"`$\\").contains(exec[i + 1]))
                word += exec[++i];
            else
                word += c;
        } else if (c == u'"') {
            quoted = inWord = true;
        } else if (separatesWords(c)) {
            if (inWord)
                words << std::exchange(word, QString());
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

std::optional<QString> program(const QString& exec, const QString& home)
{
    QStringList words = commandWords(exec);
    if (!words.isEmpty() && isEnv(words.front())) {
        words.removeFirst();
        const std::optional<QStringList> command = commandAfterEnv(words);
        if (!command)
            return std::nullopt;
        words = *command;
    }
    if (words.isEmpty() || words.front().isEmpty())
        return std::nullopt;
    return expandedHome(words.front(), home);
}

} // namespace DesktopEntry
