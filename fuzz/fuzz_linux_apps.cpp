// What a Linux home tells about its applications: desktop entries and their command lines, flatpak's
// list, AppImage file names. Read without harm; what comes out is never empty where it names something,
// and a Flatpak row only ever yields an application ID (no path can be built from anything else).
#include "FuzzSupport.h"

#include "platform/DesktopEntry.h"
#include "uninstall/FlatpakTool.h"
#include "uninstall/LinuxApplications.h"

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
    const QString firstLine = text.section(u'\n', 0, 0);
    if (!firstLine.isEmpty())
        KELVO_FUZZ_CHECK(!LinuxApplications::appImageName(firstLine).isEmpty());
    return 0;
}
