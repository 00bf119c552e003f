#pragma once

#include "model/groups_file.h"
#include "model/store.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// A store over its own temporary folder, with helpers to read and mark its groups file.
class StoreFixture {
public:
    QString folder() const { return m_dir.path() + QStringLiteral("/Traymate"); }
    QString file() const { return folder() + QStringLiteral("/groups.json"); }
    QString scratch(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }

    void writeGroupsFile(const QByteArray& bytes) const
    {
        QDir().mkpath(folder());
        QFile f(file());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    QByteArray fileBytes() const
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QList<AppGroup> fileGroups() const
    {
        return GroupsFile::decode(fileBytes()).value_or(QList<AppGroup>());
    }

    // Keeps a second name for the file as it is, so a later check tells whether the store
    // wrote it (every write replaces the file, and the kept name holds on to the old one).
    // Changing the file itself would be an outside change, which the store takes up.
    void markFile() const
    {
        QFile::remove(scratch("marked"));
        QVERIFY(::link(QFile::encodeName(file()).constData(),
                       QFile::encodeName(scratch("marked")).constData()) == 0);
    }
    bool fileWasWritten() const
    {
        struct stat now {};
        struct stat marked {};
        return ::stat(QFile::encodeName(file()).constData(), &now) != 0 ||
               ::stat(QFile::encodeName(scratch("marked")).constData(), &marked) != 0 ||
               now.st_ino != marked.st_ino || now.st_mtim.tv_nsec != marked.st_mtim.tv_nsec;
    }

    Store& open()
    {
        m_store = std::make_unique<Store>(folder());
        return *m_store;
    }
    // A store holding these groups, the first selected.
    Store& openWith(const QList<AppGroup>& groups)
    {
        writeGroupsFile(GroupsFile::encode(groups));
        return open();
    }

    // An existing file or folder in the scratch area.
    QString makeItem(const QString& name) const
    {
        const QString path = scratch(name);
        if (name.endsWith(QLatin1Char('/'))) {
            QDir().mkpath(path);
            return path.chopped(1);
        }
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        return path;
    }

    static AppGroup named(const QString& name, QStringList apps = {})
    {
        AppGroup g;
        g.name = name;
        g.apps = std::move(apps);
        return g;
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Store> m_store;
};
