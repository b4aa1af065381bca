#include "SyntheticHome.h"

#include "Language.h"

#include <sys/stat.h>

namespace SyntheticHome {

qint64 allocated(const QString& path)
{
    struct stat info;
    if (lstat(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return static_cast<qint64>(info.st_blocks) * 512;
}

ReadOnly::ReadOnly(const QString& path)
    : m_path(path)
{
    if (!m_path.isEmpty())
        QTest::qVerify(QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::ExeOwner),
                       "ReadOnly", qPrintable(m_path), __FILE__, __LINE__);
}

ReadOnly::~ReadOnly()
{
    if (!m_path.isEmpty())
        QFile::setPermissions(m_path,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

Sandbox::~Sandbox()
{
    TestSupport::forgetLanguage();
}

QString Sandbox::renew()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QTest::qVerify(m_dir->isValid(), "Sandbox", "no temporary folder", __FILE__, __LINE__);
    m_home = folder(m_dir->filePath(QStringLiteral("home")));
    TestSupport::useLanguage(AppLanguagePreference::english);
    return m_home;
}

QString Sandbox::path(const QString& relative) const
{
    return relative.isEmpty() ? m_dir->path() : m_dir->filePath(relative);
}

} // namespace SyntheticHome
