// What an update package is judged by before anything is written: tar's two listings of its members
// and the download's file name. The input is the plain listing, a line "--", then the verbose listing;
// the first line may hold the package's size ("size 1234"). A listing the check lets through names
// nothing outside the folder it is unpacked into, holds only folders, files and links that lead inside
// the top folder, and stays within the size allowed; the file name is always a plain package name.
#include "FuzzSupport.h"

#include "update/LinuxUpdatePackage.h"
#include "update/UpdatePackageFile.h"
#include "vocabulary/ByteCount.h"
#include "vocabulary/KelvoError.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

namespace {

// The name and what follows it in a verbose listing's line: everything after mode, owner, size, date
// and time, separated by spaces (the name may end in spaces).
QString afterFiveFields(const QString& line)
{
    static const QRegularExpression fields(QStringLiteral("^ *(?:[^ ]+ +){4}[^ ]+ "));
    const QRegularExpressionMatch match = fields.match(line);
    return match.hasMatch() ? line.mid(match.capturedEnd()) : QString();
}

void checkAccepted(const QStringList& names, const QStringList& details, qint64 packageSize)
{
    qint64 files = 0;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        KELVO_FUZZ_CHECK(!name.startsWith(u'/') && !name.split(u'/').contains(QStringLiteral("..")));
        const QChar kind = details[i].front();
        KELVO_FUZZ_CHECK(kind == u'-' || kind == u'd' || kind == u'l');
        if (kind == u'-')
            files = ByteCount::saturatingAdd(
                files,
                std::max<qint64>(details[i].section(u' ', 2, 2, QString::SectionSkipEmpty).toLongLong(), 0));
        if (kind == u'l') {
            // Where the link ends, judged on the names: inside the top folder, never the folder itself.
            const QString top = QDir::cleanPath(name).section(u'/', 0, 0);
            const QString target = afterFiveFields(details[i]).mid(name.size() + 4);
            const QString end = QDir::cleanPath(QDir::cleanPath(name).section(u'/', 0, -2) + u'/' + target);
            KELVO_FUZZ_CHECK(!target.startsWith(u'/') && end.startsWith(top + u'/'));
        }
    }
    KELVO_FUZZ_CHECK(files <= std::min(qint64(1) << 30,
                                       ByteCount::saturatingMultiply(20, std::max<qint64>(packageSize, 0))));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzSupport::useEnglish();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(FuzzSupport::bytes(data, size));
    QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
    qint64 packageSize = 4096;
    if (!lines.isEmpty() && lines.front().startsWith(QLatin1String("size ")))
        packageSize = lines.takeFirst().mid(5).toLongLong();
    // Without "--", the input is the verbose listing alone and the names are read from it (up to an
    // arrow), so that mutations keep the two listings in step.
    const qsizetype split = lines.indexOf(QStringLiteral("--"));
    const QStringList details = split < 0 ? lines : lines.mid(split + 1);
    QStringList names = lines.mid(0, split);
    if (split < 0) {
        names.clear();
        for (const QString& line : details)
            names << afterFiveFields(line).section(QStringLiteral(" -> "), 0, 0);
    }
    try {
        LinuxUpdatePackage::checkListing(names, details, packageSize, QStringLiteral("kelvo.tar.gz"));
        checkAccepted(names, details, packageSize);
    } catch (const KelvoError& error) {
        KELVO_FUZZ_CHECK(!error.description().isEmpty());
    }

    const QString name = UpdatePackageFile::fileName(QUrl(text.section(u'\n', 0, 0)));
    KELVO_FUZZ_CHECK(!name.startsWith(u'.') && !name.contains(u'/') && !name.contains(QChar(0)));
    KELVO_FUZZ_CHECK(name.endsWith(QLatin1String(".dmg")) || name.endsWith(QLatin1String(".tar.gz")));
    return 0;
}
