#include "dock/private_folder.h"

#include "model/safe_file.h"

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// $XDG_RUNTIME_DIR when it is a real folder of this user's that nobody else can write to.
QString privateRuntimeFolder()
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.isEmpty() || !runtime.startsWith('/'))
        return {};
    struct stat info {};
    if (::lstat(runtime.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid() || (info.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return {};
    return QFile::decodeName(runtime);
}

} // namespace

PrivateFolder::PrivateFolder()
{
    QString base = privateRuntimeFolder();
    if (base.isEmpty())
        base = QDir::tempPath();
    QByteArray pattern = QFile::encodeName(base + QStringLiteral("/traymate-XXXXXX"));
    if (::mkdtemp(pattern.data()))
        m_path = QFile::decodeName(pattern);
}

PrivateFolder::~PrivateFolder()
{
    if (isValid())
        QDir(m_path).removeRecursively();
}

bool PrivateFolder::writeNewFile(const QString& name, const QByteArray& bytes) const
{
    return isValid() && ::writeNewFile(m_path + QLatin1Char('/') + name, bytes);
}
