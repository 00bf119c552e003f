#pragma once

#include <QByteArray>
#include <QString>

// A fresh folder that only this user can enter, made with mkdtemp in the per-user runtime
// folder (or the temporary folder when that is missing or not private), and removed with
// what it holds when the object goes. Nothing another user planted can be in it.
class PrivateFolder {
public:
    PrivateFolder();
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    bool isValid() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }

    // Creates `name` in the folder with these bytes; never opens an existing file or a link.
    bool writeNewFile(const QString& name, const QByteArray& bytes) const;

private:
    QString m_path;
};
