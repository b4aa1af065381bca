// What a Linux home tells about its applications and folders: desktop entries and their command lines,
// flatpak's list, AppImage file names, the user-dirs file. Read without harm; what comes out is never
// empty where it names something, a Flatpak row only ever yields an application ID (no path can be built
// from anything else), a user folder is always an absolute, clean path below the root, and any words,
// quoted as the desktop entry rules say, read back as the same words.
#include "FuzzSupport.h"

#include "platform/DesktopEntry.h"
#include "platform/UserDirs.h"
#include "uninstall/FlatpakTool.h"
#include "uninstall/LinuxApplications.h"

#include <QDir>

namespace {

// A word as a desktop entry writes it: bare when it holds nothing the rules reserve, else in double
// quotes with ", `, $ and \ escaped.
QString quoted(QString word)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (!word.isEmpty() &&
        std::none_of(word.begin(), word.end(), [](QChar c) { return reserved.contains(c); }))
        return word;
    for (const char* special : {"\\", "\"", "`", "$"})
        word.replace(QLatin1String(special), QLatin1Char('\\') + QLatin1String(special));
    return u'"' + word + u'"';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::useEnglish();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);
    const DesktopEntry::Entry entry = DesktopEntry::parse(text);
    if (const std::optional<QString> program = DesktopEntry::program(entry.exec, QStringLiteral("/home/u")))
        KELVO_FUZZ_CHECK(!program->isEmpty());
    for (const QString& word : DesktopEntry::commandWords(text))
        KELVO_FUZZ_CHECK(!word.contains(u'\n') || text.contains(u'"'));
    for (const FlatpakTool::App& app : FlatpakTool::parseList(bytes)) {
        KELVO_FUZZ_CHECK(FlatpakTool::isApplicationID(app.id) && !app.id.contains(u'/') &&
                         !app.name.isEmpty());
        KELVO_FUZZ_CHECK(!app.bytes || *app.bytes >= 0);
    }
    for (const QString& folder : UserDirs::parse(text, QStringLiteral("/home/u")).all())
        KELVO_FUZZ_CHECK(folder.startsWith(u'/') && folder != u"/" && QDir::cleanPath(folder) == folder);
    // The words of each line, quoted and joined by spaces, read back as themselves.
    const QStringList words = text.split(u'\n').mid(0, 8);
    QStringList line;
    for (const QString& word : words)
        line << quoted(word);
    KELVO_FUZZ_CHECK(DesktopEntry::commandWords(line.join(u' ')) == words);
    const QString firstLine = text.section(u'\n', 0, 0);
    if (!firstLine.isEmpty())
        KELVO_FUZZ_CHECK(!LinuxApplications::appImageName(firstLine).isEmpty());
    return 0;
}
