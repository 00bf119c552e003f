#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// The real program's own HOME and XDG folders for one test, all under one temporary folder,
// and the environment that starts it there: it never sees the user's files, the desktop's
// dock or its settings, and its runtime folder is private, as the single-instance lock asks.
class ProgramHome {
public:
    ProgramHome();

    // The temporary folder, the runtime folder and HOME were made.
    bool isValid() const { return m_valid; }
    QString path() const { return m_root.path(); }
    QString data() const { return path() + QStringLiteral("/data"); }
    QString config() const { return path() + QStringLiteral("/config"); }

    // `desktop`'s environment with these folders, the file dock and GSettings in memory.
    QProcessEnvironment environment(QProcessEnvironment desktop) const;

private:
    QTemporaryDir m_root;
    bool m_valid = false;
};
