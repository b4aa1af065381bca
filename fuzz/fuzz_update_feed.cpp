// The update feed's record and the version order on any input: a body decodes or is refused with a
// KelvoError (nothing else escapes), a decoded record survives its own JSON form unchanged, and the
// version order is antisymmetric and transitive, so no feed can make an update look both newer and
// older. The first three lines of the input are the versions compared.
#include "FuzzSupport.h"

#include "update/KelvoUpdateInfo.h"
#include "update/UpdateVersionComparator.h"
#include "vocabulary/KelvoError.h"

#include <QJsonDocument>

namespace {

void checkRecord(const QByteArray& body)
{
    KelvoUpdateInfo info;
    try {
        info = KelvoUpdateInfo::fromJson(body);
    } catch (const KelvoError& refused) {
        KELVO_FUZZ_CHECK(!refused.description().isEmpty());
        return;
    }
    KELVO_FUZZ_CHECK(KelvoUpdateInfo::fromJson(QJsonDocument(info.toJson()).toJson()) == info);
}

void checkOrder(const QString& a, const QString& b, const QString& c)
{
    using UpdateVersionComparator::compareVersionStrings;
    const int ab = compareVersionStrings(a, b);
    const int bc = compareVersionStrings(b, c);
    const int ac = compareVersionStrings(a, c);
    KELVO_FUZZ_CHECK(compareVersionStrings(a, a) == 0);
    KELVO_FUZZ_CHECK(ab == -compareVersionStrings(b, a));
    if (ab <= 0 && bc <= 0)
        KELVO_FUZZ_CHECK(ac <= 0 && (ac == 0) == (ab == 0 && bc == 0));
    if (ab >= 0 && bc >= 0)
        KELVO_FUZZ_CHECK(ac >= 0 && (ac == 0) == (ab == 0 && bc == 0));
    KELVO_FUZZ_CHECK(UpdateVersionComparator::isUpdateAvailable(a, std::nullopt, b, std::nullopt) ==
                     (ab < 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool english = (FuzzSupport::useEnglish(), true);
    (void)english;
    const QByteArray body = FuzzSupport::bytes(data, size);
    checkRecord(body);
    const QStringList lines = QString::fromUtf8(body).split(u'\n');
    checkOrder(lines.value(0), lines.value(1), lines.value(2));
    return 0;
}
