#pragma once

#include <QString>
#include <QStringList>

// A Linux update package: a .tar.gz whose one top folder holds an executable bin/kelvo and the rest
// of Kelvo's files (share/applications, share/icons, share/doc/kelvo).
namespace LinuxUpdatePackage {
struct Unpacked {
    QString root;      // the package's top folder
    QStringList files; // what to install, relative to root: regular files and links, bin/kelvo first
};

// Checks the archive from its listing (no absolute names or ".." components; only folders, files and
// links; links strictly inside the top folder; at most 20 times its size unpacked, never over 1 GiB),
// unpacks it into the new folder `into`, checks again what was unpacked (links followed to their end,
// only Kelvo's files) and finds the top folder. Throws KelvoError with a translated message. Runs
// /usr/bin/tar: call it from a worker.
Unpacked unpack(const QString& package, const QString& into);
} // namespace LinuxUpdatePackage
