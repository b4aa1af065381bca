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

// Lists the archive (refusing absolute names and ".." components), unpacks it into the new folder
// `into`, refuses links that lead outside it and files that are not Kelvo's, and finds the top
// folder. Throws KelvoError with a translated message. Runs /usr/bin/tar: call it from a worker.
Unpacked unpack(const QString& package, const QString& into);
} // namespace LinuxUpdatePackage
