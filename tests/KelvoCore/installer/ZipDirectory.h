#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QStringList>

// A zip's central directory of empty stored entries and its end record: all a listing tool reads.
inline QByteArray zipOf(const QStringList& names)
{
    QByteArray zip;
    QDataStream out(&zip, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    for (const QString& name : names) {
        const QByteArray raw = name.toUtf8();
        out << quint32(0x02014b50) << quint16(20) << quint16(20) << quint32(0) << quint16(0) << quint16(0x21)
            << quint64(0) << quint32(0) << quint16(raw.size()) << quint64(0) << quint64(0);
        out.writeRawData(raw.constData(), int(raw.size()));
    }
    const quint32 directorySize = quint32(zip.size());
    out << quint32(0x06054b50) << quint32(0) << quint16(names.size()) << quint16(names.size())
        << directorySize << quint32(0) << quint16(0);
    return zip;
}
