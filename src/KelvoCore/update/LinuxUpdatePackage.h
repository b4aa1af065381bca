#pragma once

#include <QString>
#include <QStringList>

// A Linux update package: a .tar.gz whose one top folder holds the executables bin/kelvo and
// bin/kelvo-window and the rest of Kelvo's files (share/applications, share/icons, share/doc/kelvo).
namespace LinuxUpdatePackage {
struct Unpacked {
    QString root;      // the package's top folder
    QStringList files; // what to install, relative to root: regular files and links, bin/kelvo first
};

// Checks an archive's members from tar's plain listing (`names`, one per line) and its verbose one
// (`details`: "-rw-r--r-- 0/0 1234 2024-05-01 10:00 name", "... name -> target" for a link), before
// anything is unpacked: every name stays in the folder it is unpacked into (no absolute name, no ".."),
// is a folder, a file or a link (no device, FIFO or hard link), a link leads strictly inside the top
// folder at every step, and the files together take at most 20 times `packageSize` and never over
// 1 GiB. Throws KelvoError with a translated message naming `package`.
void checkListing(const QStringList& names, const QStringList& details, qint64 packageSize,
                  const QString& package);
// Checks the archive from its listing (checkListing), unpacks it into the new folder `into`, checks again
// what was unpacked (links followed to their end, only Kelvo's files) and finds the top folder. Throws
// KelvoError with a translated message. Runs /usr/bin/tar: call it from a worker.
Unpacked unpack(const QString& package, const QString& into);
} // namespace LinuxUpdatePackage
