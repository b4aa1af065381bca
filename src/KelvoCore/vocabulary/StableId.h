#pragma once

#include <QString>
#include <QUuid>

// An entry's identity derived from its path, the same in every scan: lists keep their selection
// across rescans, and scripts can compare two runs' JSON by id.
namespace StableId {
inline QUuid of(const QString& path)
{
    static const QUuid kelvoNamespace =
        QUuid::fromString(QStringLiteral("{5b1d8c4e-3f0a-4d6e-9a7b-2c8e1f4a6d30}"));
    return QUuid::createUuidV5(kelvoNamespace, path);
}
} // namespace StableId
