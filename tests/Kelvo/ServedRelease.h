#pragma once

// A release of Kelvo served from a loopback server: the update feed at /feed.json and the package it
// names, a .tar.gz made with tar whose one folder holds bin/kelvo, a script that prints its version,
// and bin/kelvo-window.
// Installations are temporary folders holding such a script, so updating one runs nothing real.

#include "LoopbackHttpServer.h"
#include "SyntheticHome.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

struct ServedRelease {
    LoopbackHttpServer server;
    QTemporaryDir folder;

    // An installation (the folder holding bin/kelvo) of the version: bin/kelvo prints "Kelvo <version>".
    static QString installation(const QString& path, const QString& version)
    {
        const QByteArray program = "#!/bin/sh\necho 'Kelvo " + version.toUtf8() + "'\n";
        for (const QString name : {"/bin/kelvo", "/bin/kelvo-window"})
            QFile::setPermissions(SyntheticHome::write(path + name, program),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    // What the installation's bin/kelvo prints.
    static QString versionOf(const QString& installation)
    {
        QProcess kelvo;
        kelvo.start(installation + "/bin/kelvo", {});
        return kelvo.waitForFinished() ? QString::fromUtf8(kelvo.readAllStandardOutput()).trimmed()
                                       : QString();
    }

    // Publishes the version: the feed names it with its notes, the package and the package's checksum
    // (or the one given).
    void publish(const QString& version, const std::optional<QString>& sha256 = std::nullopt)
    {
        const QString top = "kelvo-" + version + "-Linux-x86_64";
        installation(folder.filePath("stage/" + top), version);
        QProcess tar;
        tar.start("/usr/bin/tar",
                  {"-czf", folder.filePath("kelvo.tar.gz"), "-C", folder.filePath("stage"), top});
        QVERIFY(tar.waitForFinished() && tar.exitCode() == 0);
        const QByteArray package = SyntheticHome::contents(folder.filePath("kelvo.tar.gz"));
        const QString checksum =
            sha256.value_or(QCryptographicHash::hash(package, QCryptographicHash::Sha256).toHex());
        server.route("/kelvo.tar.gz", {200, package});
        const QJsonObject feed{{"version", version},
                               {"download_url", server.url("/kelvo.tar.gz").toString()},
                               {"sha256", checksum},
                               {"release_notes", "Faster scans.\nA new update sheet."}};
        server.route("/feed.json", {200, QJsonDocument(feed).toJson()});
    }

    // A process environment that names this feed and nothing else.
    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment;
        environment.insert("KELVO_UPDATE_FEED_URL", server.url("/feed.json").toString());
        return environment;
    }
};
