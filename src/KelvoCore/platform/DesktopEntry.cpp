#include "platform/DesktopEntry.h"

#include "platform/PathText.h"

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
        while (!words.isEmpty() && (isAssignment(words.front()) || words.front().startsWith(u'-')))
            words.removeFirst();
    }
    if (words.isEmpty() || words.front().isEmpty())
        return std::nullopt;
    return expandedHome(words.front(), home);
}

} // namespace DesktopEntry
