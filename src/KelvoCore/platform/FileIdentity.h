#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// Which item a path named when it was scanned: its device and inode. An item that was replaced (a
// folder swapped for a link, deleted and made again) has another identity even at the same path.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;

    bool operator==(const FileIdentity&) const = default;

    // "device:inode", as reports store it: text, since an inode number may exceed what a JSON number
    // holds exactly.
    QString text() const { return QStringLiteral("%1:%2").arg(device).arg(inode); }
    static std::optional<FileIdentity> fromText(const QString& text)
    {
        const QStringList parts = text.split(QLatin1Char(':'));
        bool deviceRead = false;
        bool inodeRead = false;
        const FileIdentity identity{parts.value(0).toULongLong(&deviceRead),
                                    parts.value(1).toULongLong(&inodeRead)};
        return parts.size() == 2 && deviceRead && inodeRead ? std::optional(identity) : std::nullopt;
    }
};
