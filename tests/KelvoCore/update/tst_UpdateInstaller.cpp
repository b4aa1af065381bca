// The update installer against a loopback server: downloads, checks before install, cancelling, the
// Linux replacement of a temporary installation, and the macOS relaunch script run with stand-ins.
#include "TestMain.h"

#include "../optimize/StandInTool.h"
#include "LoopbackHttpServer.h"
#include "SyntheticHome.h"

#include "update/InstallationReplacement.h"
#include "update/MacBundleInstall.h"
#include "update/UpdateInstaller.h"
#include "update/UpdateInstallerText.h"
#include "update/UpdateRequest.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QTimer>

#include <cstring>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace SyntheticHome;
using namespace TestSupport;
using Response = LoopbackHttpServer::Response;
using Kind = UpdateInstallerState::Kind;

Q_DECLARE_METATYPE(LoopbackHttpServer::Response)

namespace {

const QString top = "kelvo-1.3-Linux-x86_64";

QByteArray packageBytes()
{
    QByteArray bytes;
    for (int i = 0; i < 300'000; ++i)
        bytes += QByteArray::number(i) + ' ';
    return bytes;
}

QString sha256(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// Runs a program to its end in folder and returns its exit status.
int run(const QString& program, const QStringList& arguments, const QString& folder = {},
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    return process.waitForFinished(30'000) && process.exitStatus() == QProcess::NormalExit
               ? process.exitCode()
               : -1;
}

// Every file below folder, relative to it.
QStringList filesBelow(const QString& folder)
{
    QStringList files;
    for (QDirIterator walk(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
         walk.hasNext();)
        files << QDir(folder).relativeFilePath(walk.next());
    files.sort();
    return files;
}

// An item's mode in octal, or where it points for a link; "-" when there is none.
QString mode(const QString& path)
{
    struct stat facts {};
    if (::lstat(QFile::encodeName(path), &facts) != 0)
        return "-";
    return S_ISLNK(facts.st_mode) ? "-> " + QFile::symLinkTarget(path).section('/', -1)
                                  : QString::number(facts.st_mode & 07777, 8);
}

// How many of this process's open files are the file at path (none where /proc is missing).
int openHandlesTo(const QString& path)
{
    const QString file = QFileInfo(path).canonicalFilePath();
    int count = 0;
    for (const QFileInfo& handle : QDir("/proc/self/fd").entryInfoList(QDir::AllEntries | QDir::System))
        count += handle.symLinkTarget() == file;
    return count;
}

// Every item below folder with its mode and, for a file, its bytes.
QStringList treeWithModes(const QString& folder)
{
    QStringList items;
    for (QDirIterator walk(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                           QDirIterator::Subdirectories);
         walk.hasNext();) {
        const QString path = walk.next();
        items << QDir(folder).relativeFilePath(path) + ' ' + mode(path) + ' ' + contents(path);
    }
    items.sort();
    return items;
}

// A network that holds as much of a body as its reader allows (all of it when the reader sets no
// bound) and hands over the last piece together with the end, with no readyRead of its own, as a
// backend may: a package must still be written whole.
class PieceByPieceNetwork : public QNetworkAccessManager {
public:
    explicit PieceByPieceNetwork(QByteArray body)
        : m_body(std::move(body))
    {
    }
    qint64 mostHeld() const { return m_mostHeld; }

protected:
    QNetworkReply* createRequest(Operation, const QNetworkRequest& request, QIODevice*) override
    {
        return new Reply(request, m_body, m_mostHeld, this);
    }

private:
    class Reply : public QNetworkReply {
    public:
        Reply(const QNetworkRequest& request, QByteArray body, qint64& mostHeld, QObject* parent)
            : QNetworkReply(parent)
            , m_body(std::move(body))
            , m_mostHeld(mostHeld)
        {
            setRequest(request);
            setUrl(request.url());
            setOperation(QNetworkAccessManager::GetOperation);
            setAttribute(QNetworkRequest::HttpStatusCodeAttribute, 200);
            open(QIODevice::ReadOnly | QIODevice::Unbuffered);
            QTimer::singleShot(0, this, &Reply::deliver);
        }
        void abort() override {}
        bool isSequential() const override { return true; }
        qint64 bytesAvailable() const override { return m_arrived - m_read; }

    protected:
        qint64 readData(char* data, qint64 maxSize) override
        {
            const qint64 count = std::min(maxSize, m_arrived - m_read);
            std::memcpy(data, m_body.constData() + m_read, std::size_t(count));
            m_read += count;
            return count;
        }

    private:
        void deliver()
        {
            const qint64 rest = m_body.size() - m_arrived;
            m_arrived += readBufferSize() > 0 ? std::min(readBufferSize(), rest) : rest;
            m_mostHeld = std::max(m_mostHeld, m_arrived - m_read);
            if (m_arrived < m_body.size()) {
                emit readyRead();
                QTimer::singleShot(0, this, &Reply::deliver);
                return;
            }
            setFinished(true);
            emit finished();
        }

        QByteArray m_body;
        qint64& m_mostHeld;
        qint64 m_arrived = 0, m_read = 0;
    };

    QByteArray m_body;
    qint64 m_mostHeld = 0;
};

} // namespace

class UpdateInstallerTest : public QObject {
    Q_OBJECT

    Sandbox m_box;
    QString m_temporary;
    LoopbackHttpServer m_server;
    QNetworkAccessManager m_network;
    std::unique_ptr<UpdateInstaller> m_installer;
    QList<UpdateInstallerState> m_states;
    int m_quits = 0;

    // Downloads the package at path (a full URL when it starts with "http") and waits for the outcome.
    UpdateInstallerState download(const QString& path, const std::optional<QString>& checksum = {})
    {
        m_installer->download({path.startsWith(u"http") ? QUrl(path) : m_server.url(path), checksum});
        [&] { QTRY_VERIFY_WITH_TIMEOUT(m_installer->state().kind != Kind::downloading, 20'000); }();
        return m_installer->state();
    }

    // The new release's tree below the box's "package" folder, and the installation it replaces.
    void writeRelease()
    {
        const QString release = m_box.path("package/" + top);
        write(release + "/bin/kelvo", "#!/bin/sh\necho started > '" + m_box.path("started").toUtf8() + "'\n");
        write(release + "/bin/kelvo-window", "#!/bin/sh\n");
        for (const QString program : {"/bin/kelvo", "/bin/kelvo-window"})
            QFile::setPermissions(release + program, QFile::permissions(release + program) | QFile::ExeOwner);
        write(release + "/share/applications/kelvo.desktop", "new entry");
        write(release + "/share/doc/kelvo/LICENSE.md", "new licence");
        write(m_box.path("installation/bin/kelvo"), "old program");
        write(m_box.path("installation/bin/other"), "someone else's");
        write(m_box.path("installation/share/applications/kelvo.desktop"), "old entry");
    }

    void serveRelease(const QStringList& tarOptions = {})
    {
        const QString archive = m_box.path("kelvo-1.3.tar.gz");
        QCOMPARE(run("/usr/bin/tar", QStringList{"-czf", archive, "-C", m_box.path("package")} + tarOptions +
                                         QStringList{top}),
                 0);
        m_server.route("/kelvo-1.3.tar.gz", {200, contents(archive)});
    }

private slots:
    void init()
    {
        m_box.renew();
        m_temporary = folder(m_box.path("temporary"));
        m_states.clear();
        m_quits = 0;
        m_installer = std::make_unique<UpdateInstaller>(
            m_network,
            UpdateInstaller::Options{m_box.path("installation"), {}, [this] { ++m_quits; }, m_temporary});
        connect(m_installer.get(), &UpdateInstaller::stateChanged, this,
                [this](const UpdateInstallerState& state) { m_states << state; });
    }

    void download_data()
    {
        columns<Response, QString, QString, QString>("response", "path", "checksum", "outcome");
        const QByteArray bytes = packageBytes();
        const QString path = "/kelvo-1.3.tar.gz", elsewhere = "http://example.com/kelvo-1.3.tar.gz";
        row("with length", Response(200, bytes), path, "-", "measured");
        row("without length", Response(200, bytes).withoutContentLength(), path, "-", "unmeasured");
        row("matching checksum", Response(200, bytes), path, sha256(bytes), "measured");
        row("checksum mismatch", Response(200, bytes), path, sha256("other"),
            UpdateInstallerText::checksumMismatch());
        row("not found", Response(404), path, "-", "any failure");
        row("redirect to plain HTTP elsewhere", Response(302).header("Location", elsewhere.toUtf8()), path,
            "-", UpdateRequest::refusedAddressText(QUrl(elsewhere)));
        row("plain HTTP elsewhere", Response(), elsewhere, "-",
            UpdateRequest::refusedAddressText(QUrl(elsewhere)));
        // A name longer than any file system allows: the download file cannot be made, and says so.
        row("file cannot be made", Response(200, bytes), "/" + QString(300, 'k') + ".tar.gz", "-",
            "any failure");
    }
    void download()
    {
        auto [response, path, checksum, outcome] =
            fetch<Response, QString, QString, QString>("response", "path", "checksum", "outcome");
        m_server.route("/kelvo-1.3.tar.gz", response);
        const UpdateInstallerState state =
            download(path, checksum == u"-" ? std::nullopt : std::optional<QString>(checksum));
        QCOMPARE(m_states.first(), (UpdateInstallerState{Kind::downloading, 0.0, {}}));
        if (!outcome.endsWith(u"measured")) {
            QCOMPARE(state.kind, Kind::failed);
            if (outcome != u"any failure")
                QCOMPARE(state.message, outcome);
            QVERIFY(isEmptyFolder(m_temporary)); // nothing partial is left
            QCOMPARE(m_installer->downloadedPackage(), std::nullopt);
            return;
        }
        QCOMPARE(state.kind, Kind::readyToInstall);
        const QString package = m_installer->downloadedPackage().value();
        QCOMPARE(contents(package), response.body);
        QCOMPARE(openHandlesTo(package), 0); // nothing holds a package that is ready
        QCOMPARE(QFileInfo(package).fileName(), "kelvo-1.3.tar.gz");
        QVERIFY(QFileInfo(package).absolutePath().startsWith(m_temporary + "/KelvoUpdate-"));
        QCOMPARE(QFileInfo(QFileInfo(package).absolutePath()).permissions(),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser | QFile::WriteUser |
                     QFile::ExeUser);
        const UpdateInstallerState measured{Kind::downloading, 1.0, {}};
        QCOMPARE(m_states.contains(measured), outcome == u"measured");
    }

    // Never held in memory as a whole, and written whole however its last piece comes.
    void aDownloadIsHeldInPiecesAndWrittenWhole()
    {
        const QByteArray body(10 << 20, 'k');
        PieceByPieceNetwork network(body);
        UpdateInstaller installer(network, UpdateInstaller::Options{{}, {}, [] {}, m_temporary});
        installer.download({QUrl("http://127.0.0.1/kelvo-1.3.tar.gz"), std::nullopt});
        QTRY_COMPARE(installer.state().kind, Kind::readyToInstall);
        QVERIFY(contents(installer.downloadedPackage().value()) == body);
        QVERIFY(network.mostHeld() < body.size() / 2);
    }

    void cancelDuringDownload()
    {
        m_server.route("/kelvo-1.3.tar.gz", Response(200, packageBytes()).stallingAfter(100'000));
        m_installer->download({m_server.url("/kelvo-1.3.tar.gz"), std::nullopt});
        QTRY_VERIFY(!filesBelow(m_temporary).isEmpty() &&
                    QFileInfo(m_temporary + '/' + filesBelow(m_temporary).first()).size() > 0);
        m_installer->cancel();
        QVERIFY(isEmptyFolder(m_temporary));
        QTest::qWait(200); // time for a late report, which must not come
        QCOMPARE(m_states.last().kind, Kind::downloading);
        m_installer->performInstallAndRelaunch();
        QCOMPARE(m_states.last(),
                 (UpdateInstallerState{Kind::failed, 0.0, UpdateInstallerText::noDownloadedUpdate()}));
    }

    // As a user whom the permissions stop (nobody, when the tests run as root): a read-only folder or
    // file of the installation is seen before anything is replaced, and a replacement that meets a
    // read-only folder anyway puts back every file it had replaced.
    void aReadOnlyInstallationStaysAsItWas_data()
    {
        columns<QString>("locked");
        row("a folder", "share/doc/kelvo");
        row("a file", "share/doc/kelvo/LICENSE.md");
    }
    void aReadOnlyInstallationStaysAsItWas()
    {
        auto [lockedItem] = fetch<QString>("locked");
        writeRelease();
        write(m_box.path("installation/share/doc/kelvo/LICENSE.md"), "old licence");
        const QStringList files{"bin/kelvo", "share/applications/kelvo.desktop",
                                "share/doc/kelvo/LICENSE.md"};
        const QString installation = m_box.path("installation");
        const ReadOnly locked(installation + '/' + lockedItem);
        const QStringList before = treeWithModes(installation);
        QVERIFY(asUnprivileged(m_box.path(), [&] {
            if (InstallationReplacement::canWrite(installation, files))
                return false;
            if (lockedItem.endsWith(u".md"))
                return true;
            const QString refusal = failure(
                [&] { InstallationReplacement::replace(m_box.path("package/" + top), installation, files); });
            return !refusal.isEmpty() && treeWithModes(installation) == before;
        }));
    }

    // Started without a standard input, the first file opened is descriptor 0, as good as any other.
    void replacesWithoutStandardInput()
    {
        writeRelease();
        const int input = ::dup(0);
        ::close(0);
        const QString refusal = failure([&] {
            InstallationReplacement::replace(m_box.path("package/" + top), m_box.path("installation"),
                                             {"bin/kelvo"});
        });
        ::dup2(input, 0);
        ::close(input);
        QCOMPARE(refusal, QString());
        QCOMPARE(contents(m_box.path("installation/bin/kelvo")),
                 contents(m_box.path("package/" + top + "/bin/kelvo")));
    }

    // Hostile packages: each is refused (checked from its listing before anything is unpacked, where
    // the listing can tell) and the installation stays as it was, or it is installed with its files'
    // modes normalised.
    void linuxInstall_data()
    {
        columns<QString, QString>("variant", "refusal"); // the refused member, "package", or none
        row("modes normalised, a link to a one-letter name", "modes", "");
        row("over an install that was cut short", "cut short", "");
        row("a file that is not Kelvo's", "foreign", "/lib/libkelvo.so");
        row("member with ..", "dot-dot", "/share/../../../../x");
        row("no bin/kelvo", "no program", "package");
        row("no bin/kelvo-window", "no window", "package");
        row("absolute link", "/etc/hostname", "/share/doc/kelvo/link");
        row("link to the package root", "../../../..", "/share/doc/kelvo/link");
        row("link above the package root", "../../../../..", "/share/doc/kelvo/link");
        row("link out and back in", "../../../../" + top + "/bin/kelvo", "/share/doc/kelvo/link");
        row("link through a link to the root", "up/..", "/share/doc/kelvo/link");
        row("FIFO", "fifo", "/share/doc/kelvo/special");
        row("FIFO listed first", "fifo first", "special");
        row("device", "device", "/share/doc/kelvo/special");
        row("hard link", "hard link", "/share/doc/kelvo/special");
        row("zeros beyond 20 times the package", "zeros", "package");
        row("a folder where a file goes", "folder in the way", "any");
    }
    void linuxInstall()
    {
        auto [variant, refusal] = fetch<QString, QString>("variant", "refusal");
        writeRelease();
        const QString release = m_box.path("package/" + top), doc = release + "/share/doc/kelvo/";
        QStringList tarOptions;
        if (variant == u"modes") {
            QVERIFY(::chmod(QFile::encodeName(release + "/bin/kelvo"), 06777) == 0);
            QVERIFY(::chmod(QFile::encodeName(doc + "LICENSE.md"), 04766) == 0);
            file(doc + "x");
            link("x", doc + "link");
        } else if (variant == u"cut short") {
            // Its side names are still there, one a link out of the installation.
            write(m_box.path("outside"), "precious");
            link(m_box.path("outside"), m_box.path("installation/bin/.kelvo-update-new-kelvo"));
            write(m_box.path("installation/share/applications/.kelvo-update-old-kelvo.desktop"), "stale");
        } else if (variant == u"foreign")
            write(release + "/lib/libkelvo.so", "not Kelvo's to install");
        else if (variant == u"dot-dot")
            tarOptions << "-P"
                       << "--transform=s,/doc/kelvo/LICENSE.md$,/../../../../x,";
        else if (variant == u"no program")
            QFile::remove(release + "/bin/kelvo");
        else if (variant == u"no window")
            QFile::remove(release + "/bin/kelvo-window");
        else if (variant.contains(u'/')) {
            link("../../../share", doc + "up");
            link(variant, doc + "link");
        } else if (variant == u"fifo first") {
            QVERIFY(::mkfifo(QFile::encodeName(m_box.path("package/special")), 0600) == 0);
            tarOptions << "special";
        } else if (variant == u"fifo")
            QVERIFY(::mkfifo(QFile::encodeName(doc + "special"), 0600) == 0);
        else if (variant == u"device" &&
                 ::mknod(QFile::encodeName(doc + "special"), S_IFCHR | 0600, makedev(1, 3)))
            QSKIP("only root makes a device");
        else if (variant == u"hard link") {
            tarOptions << "--sort=name"; // the second name of the file is the one listed as a hard link
            QVERIFY(::link(QFile::encodeName(doc + "LICENSE.md"), QFile::encodeName(doc + "special")) == 0);
        } else if (variant == u"zeros")
            QVERIFY(QFile(file(doc + "zeros", 0)).resize(32 << 20));
        else if (variant == u"folder in the way")
            write(m_box.path("installation/share/doc/kelvo/LICENSE.md/inside"), "in the way");
        serveRelease(tarOptions);
        QCOMPARE(download("/kelvo-1.3.tar.gz").kind, Kind::readyToInstall);
        const QString package = m_installer->downloadedPackage().value();
        const QStringList before = treeWithModes(m_box.path("installation"));
        m_installer->performInstallAndRelaunch();
        QCOMPARE(m_states.last().kind, Kind::installing);
        // Done when it has asked to quit (and stays "installing" for the short time left) or failed.
        QTRY_VERIFY_WITH_TIMEOUT(m_quits == 1 || m_states.last().kind != Kind::installing, 20'000);

        if (refusal.isEmpty()) {
            QTRY_COMPARE(contents(m_box.path("started")), "started\n"); // the new kelvo was started
            QStringList modes;
            for (const QString item :
                 {"bin/kelvo", "bin/kelvo-window", "share/applications/kelvo.desktop", "share/doc",
                  "share/doc/kelvo", "share/doc/kelvo/LICENSE.md", "share/doc/kelvo/link"})
                modes << mode(m_box.path("installation/" + item));
            QCOMPARE(modes, QStringList({"755", "755", "644", "755", "755", "644",
                                         variant == u"modes" ? "-> x" : "-"}));
            QVERIFY(!filesBelow(m_box.path("installation")).join('|').contains(".kelvo-update-"));
            if (variant == u"cut short")
                QCOMPARE(contents(m_box.path("outside")), "precious");
            QCOMPARE(contents(m_box.path("installation/share/doc/kelvo/LICENSE.md")), "new licence");
            QCOMPARE(contents(m_box.path("installation/bin/other")), "someone else's");
            return;
        }
        QCOMPARE(m_states.last().kind, Kind::failed);
        const QString expected =
            variant == u"no program"  ? UpdateInstallerText::noProgram(package, "bin/kelvo")
            : variant == u"no window" ? UpdateInstallerText::noProgram(package, "bin/kelvo-window")
            : variant == u"zeros"
                ? UpdateInstallerText::packageTooLarge(package, 20 * QFileInfo(package).size())
            : variant == u"foreign"        ? UpdateInstallerText::foreignEntry(top + refusal)
            : variant == u"fifo first"     ? UpdateInstallerText::specialEntry(refusal)
            : refusal.endsWith(u"special") ? UpdateInstallerText::specialEntry(top + refusal)
            : refusal == u"any"            ? m_states.last().message
                                           : UpdateInstallerText::unsafeEntry(top + refusal);
        QCOMPARE(m_states.last().message, expected);
        QCOMPARE(m_installer->downloadedPackage(), package); // kept for another attempt
        QVERIFY(QFileInfo::exists(package));
        QCOMPARE(treeWithModes(m_box.path("installation")), before);
        // What the listing refuses is refused before anything is unpacked.
        QCOMPARE(exists(QFileInfo(package).absolutePath() + "/unpacked"),
                 refusal == u"any" || variant.startsWith(u"no ") || variant == u"up/.." ||
                     variant == u"foreign");
        QCOMPARE(m_quits, 0);
        m_installer->cancel(); // giving up on it leaves nothing behind
        QVERIFY(isEmptyFolder(m_temporary));
    }

    // The disk image mounted by a stand-in hdiutil that puts the row's entries at the mount point:
    // the application found in it, or why there is no relaunch script.
    void prepareFromImage_data()
    {
        columns<QStringList, int, QString>("entries", "attachStatus", "outcome"); // a bundle, or the failure
        row("named one first", QStringList{"Another.app", "Kelvo.app"}, 0, "Kelvo.app");
        row("name contained", QStringList{"Tool.app", "Kelvo Beta.app"}, 0, "Kelvo Beta.app");
        row("any application", QStringList{"Tool.app", "Read Me"}, 0, "Tool.app");
        row("extension in capitals", QStringList{"Kelvo.APP"}, 0, UpdateInstallerText::applicationNotFound());
        row("no application", QStringList{"Read Me"}, 0, UpdateInstallerText::applicationNotFound());
        row("not mounted", QStringList{"Kelvo.app"}, 1, UpdateInstallerText::mountFailed());
        row("a script already there", QStringList{"Kelvo.app", "relaunch.sh"}, 0,
            UpdateInstallerText::installFailed());
    }
    void prepareFromImage()
    {
        auto [entries, attachStatus, outcome] =
            fetch<QStringList, int, QString>("entries", "attachStatus", "outcome");
        const QString image = file(m_box.path("download/Kelvo.dmg")), mount = m_box.path("download/mnt");
        for (const QString& entry : entries)
            entry.endsWith(u".sh") ? link(m_box.path("outside"), m_box.path("download/" + entry))
                                   : folder(m_box.path("content/" + entry));
        const QString log = m_box.path("hdiutil.log");
        const QString hdiutil =
            standInTool(m_box.path(), "/bin/hdiutil",
                        "printf '%s|' \"$@\" >> '" + log.toUtf8() +
                            "'\nif [ \"$1\" = attach ]; then cp -R '" + m_box.path("content").toUtf8() +
                            "/.' \"$5\"; exit " + QByteArray::number(attachStatus) + "; fi");

        QString script;
        const QString failure = SyntheticHome::failure([&] {
            script = MacBundleInstall::prepare(image, m_box.path("Applications/Kelvo.app"), 42, hdiutil);
        });
        const QString attach = "attach|" + image + "|-nobrowse|-mountpoint|" + mount + "|-quiet|";
        if (outcome.endsWith(u".app")) {
            QCOMPARE(failure, QString());
            QCOMPARE(contents(script),
                     MacBundleInstall::relaunchScript(42, m_box.path("Applications/Kelvo.app"),
                                                      mount + '/' + outcome, mount)
                         .toUtf8());
            QVERIFY(QFileInfo(script).isExecutable());
            QCOMPARE(contents(log), attach.toUtf8());
            return;
        }
        QCOMPARE(failure, outcome);
        QVERIFY(!exists(m_box.path("outside")));
        const bool detached = outcome == UpdateInstallerText::applicationNotFound();
        QCOMPARE(contents(log), (attach + (detached ? "detach|" + mount + "|-force|-quiet|" : "")).toUtf8());
    }

    void relaunchScript_data()
    {
        columns<QString>("name");
        row("double quote", "a \"quoted\" name");
        row("dollar", "$HOME $(touch injected)");
        row("backquote", "back`touch injected`quote");
        row("newline", "new\ntouch injected\nline");
        row("single quote", "it's'; touch injected; '");
    }
    void relaunchScript()
    {
        auto [name] = fetch<QString>("name");
        const QString target = m_box.path("Applications/" + name + "/Kelvo.app");
        write(target + "/Contents/old", "old");
        const QString source = m_box.path("mnt " + name + "/Kelvo.app");
        write(source + "/Contents/new", "new");
        const QString log = m_box.path("tools.log");
        for (const QString tool : {"hdiutil", "open"})
            standInTool(m_box.path(), "/bin/" + tool,
                        "printf '%s|' " + tool.toUtf8() + " \"$@\" >> '" + log.toUtf8() + "'");
        QProcess ended;
        ended.start("/bin/true");
        QVERIFY(ended.waitForStarted());
        const qint64 pid = ended.processId();
        QVERIFY(ended.waitForFinished());

        const QString script = write(
            m_box.path("relaunch.sh"),
            UpdateInstaller::relaunchScript(pid, target, source, QFileInfo(source).absolutePath()).toUtf8());
        QCOMPARE(run("/bin/bash", {"-n", script}), 0);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PATH", m_box.path("bin") + ":/usr/bin:/bin");
        QCOMPARE(run("/bin/bash", {script}, m_box.path(), environment), 0);

        QCOMPARE(filesBelow(target), QStringList{"Contents/new"});
        QCOMPARE(contents(log), ("hdiutil|detach|" + QFileInfo(source).absolutePath() +
                                 "|-force|-quiet|open|" + target + "|")
                                    .toUtf8());
        QVERIFY(!exists(m_box.path("injected")));
    }
};

KELVO_REGISTER_TEST(UpdateInstallerTest)
#include "tst_UpdateInstaller.moc"
