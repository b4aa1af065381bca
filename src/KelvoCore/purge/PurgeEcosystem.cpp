#include "purge/PurgeEcosystem.h"

#include "purge/LocalPurgePreview.h"
#include "vocabulary/AppLocalization.h"

#include <QHash>

namespace PurgeEcosystems {

PurgeEcosystem of(const QString& target)
{
    static const QHash<QString, PurgeEcosystem> byTarget = [] {
        QHash<QString, PurgeEcosystem> all;
        for (const LocalPurgePreview::Target& known : LocalPurgePreview::targets())
            all.insert(known.name, known.ecosystem);
        return all;
    }();
    return byTarget.value(target, PurgeEcosystem::other);
}

QString title(PurgeEcosystem ecosystem)
{
    switch (ecosystem) {
    case PurgeEcosystem::javaScript:
        return QStringLiteral("JavaScript / Node");
    case PurgeEcosystem::python:
        return QStringLiteral("Python");
    case PurgeEcosystem::apple:
        return QStringLiteral("iOS / macOS");
    case PurgeEcosystem::systems:
        return QStringLiteral("Rust / Go / Zig");
    case PurgeEcosystem::jvm:
        return QStringLiteral("Java / Maven");
    case PurgeEcosystem::android:
        return QStringLiteral("Android / Gradle / Flutter");
    case PurgeEcosystem::dotnet:
        return QStringLiteral(".NET");
    case PurgeEcosystem::other:
        break;
    }
    return AppLocalization::localized(QStringLiteral("其他"), QStringLiteral("Other"));
}

} // namespace PurgeEcosystems
