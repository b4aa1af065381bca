#pragma once

// Builds synthetic folder trees for scanner and executor tests.

#include "vocabulary/AppLocalization.h"
#include "vocabulary/KelvoError.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <unistd.h>

namespace SyntheticHome {

// Writes a file of `size` bytes (creating its folders) and returns its path.
inline QString file(const QString& path, qint64 size = 1, char fill = 'x')
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(QByteArray(size, fill));
    return path;
}

// A program: a file of `size` bytes that its owner may run.
inline QString executable(const QString& path, qint64 size = 1)
{
    file(path, size);
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
    return path;
}

// Writes `bytes` to a file (creating its folders) and returns its path. A failed write fails the test,
// since nothing after it would mean anything.
inline QString write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    const bool written = out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size();
    QTest::qVerify(written, "write", qPrintable(path), __FILE__, __LINE__);
    return path;
}

// The bytes of a file; null when it cannot be read.
inline QByteArray contents(const QString& path)
{
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

inline QString folder(const QString& path)
{
    QDir().mkpath(path);
    return path;
}

inline QString link(const QString& target, const QString& linkPath)
{
    QDir().mkpath(QFileInfo(linkPath).absolutePath());
    QFile::link(target, linkPath);
    return linkPath;
}

// `count` files f0, f1, ... of `size` bytes in `parent`; with `perFolder`, spread over numbered
// subfolders of that many files each.
inline void manyFiles(const QString& parent, int count, qint64 size = 0, int perFolder = 0)
{
    for (int i = 0; i < count; ++i)
        file(perFolder > 0 ? QStringLiteral("%1/%2/f%3").arg(parent).arg(i / perFolder).arg(i)
                           : QStringLiteral("%1/f%2").arg(parent).arg(i),
             size);
}

inline bool exists(const QString& path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

inline bool isEmptyFolder(const QString& path)
{
    return QDir(path).exists() &&
           QDir(path).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// The paths of report entries (their `path`, plain or optional) relative to base, in report order.
template <class Entries> QStringList relative(const QString& base, const Entries& entries)
{
    QStringList paths;
    for (const auto& entry : entries)
        paths << QString(std::optional<QString>(entry.path).value_or(QString())).mid(base.size() + 1);
    return paths;
}

// What the KelvoError thrown by `action` says; null when nothing was thrown.
template <class Action> QString failure(const Action& action)
{
    try {
        action();
    } catch (const KelvoError& error) {
        return error.description();
    }
    return {};
}

// Every item below folder by its path relative to it: a file's bytes, "-> target" for a link, "/" for
// a folder. A test compares the picture before and after to show that nothing there changed.
QMap<QString, QByteArray> tree(const QString& folder);

// Runs check as the user nobody, in a child that gave up root after that user was given the tree, so
// a permission stops the code as it stops any user (without root: here). True when check was; the
// check cannot use the test macros, and its texts may be in the system's language.
bool asUnprivileged(const QString& tree, const std::function<bool()>& check);

// Allocated bytes of one item as the file system reports them.
qint64 allocated(const QString& path);

// `levels` nested folders named `name` below base, made relative to open folders so the whole path
// may be longer than the system's path limit, with a file "leaf" at the bottom. Returns how many
// levels were made.
int nestedFolders(const QString& base, int levels, const QByteArray& name);

// A file holding data whose name below folder is the given bytes (not necessarily UTF-8), made with the
// folders on its way.
void rawFile(const QString& folder, const QByteArray& name, const QByteArray& data = {});
// Empties a folder by the bytes of its names, which QTemporaryDir cannot do for a name that is not UTF-8.
void emptyFolder(const QString& folder);

// An app bundle "<name>.app" in folder, its Info.plist naming it and holding the bundle identifier and
// the other keys given (a key without a value is left out), with an executable of `size` bytes.
// Returns its path.
inline QString makeApp(const QString& folder, const QString& name, const QString& bundleID = {},
                       QMap<QString, QString> keys = {}, qint64 size = 4000)
{
    const QString bundle = folder + "/" + name + ".app";
    keys["CFBundleName"] = name;
    keys["CFBundleIdentifier"] = bundleID;
    keys.removeIf([](const auto& key) { return key.value().isEmpty(); });
    QString plist =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\"><dict>\n";
    for (auto key = keys.cbegin(); key != keys.cend(); ++key)
        plist += "<key>" + key.key() + "</key><string>" + key.value() + "</string>\n";
    write(bundle + "/Contents/Info.plist", (plist + "</dict></plist>\n").toUtf8());
    file(bundle + "/Contents/MacOS/" + name, size);
    return bundle;
}

// Bind-mounts source on target (a folder) while it lives; mounted() is false when this process may
// not mount, and the test then skips.
class BindMount {
public:
    BindMount(const QString& source, const QString& target);
    ~BindMount();
    BindMount(const BindMount&) = delete;
    BindMount& operator=(const BindMount&) = delete;
    bool mounted() const { return m_mounted; }

private:
    QString m_target;
    bool m_mounted = false;
};

// Takes the write permission away from a folder while it lives and gives it back after, so the
// temporary folder holding it can still be removed when a test fails half-way. An empty path
// takes nothing.
class ReadOnly {
public:
    explicit ReadOnly(const QString& path);
    ~ReadOnly();
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;

private:
    QString m_path;
};

// The display language of the code under test: its live preference, stored as the application stores it.
void useLanguage(AppLanguagePreference preference);

// A temporary folder holding an empty "home" folder, with English as the display language. A test
// class keeps one and renews it in init() (or once, in initTestCase()), so each test starts from
// nothing; the language preference is forgotten with the sandbox.
class Sandbox {
public:
    Sandbox() = default;
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    // Replaces the temporary folder with a new one and returns its home.
    QString renew();
    QString home() const { return m_home; }
    // A path below the temporary folder; the folder itself for none.
    QString path(const QString& relative = {}) const;
    // "{home}" in a table cell stands for the home folder, "{box}" for the temporary folder.
    QString expand(QString text) const { return text.replace("{home}", m_home).replace("{box}", path()); }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_home;
};

} // namespace SyntheticHome
