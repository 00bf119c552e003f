#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QXmlStreamReader>
#include <gio/gdesktopappinfo.h>

// What the desktop's own readers make of files the program writes.
namespace DesktopEntryChecks {

// desktop-file-validate's complaints about the entry (desktop-file-utils); empty when it
// accepts it.
inline QString validatorComplaints(const QString& entry)
{
    QProcess validator;
    validator.start(QStringLiteral("desktop-file-validate"), {entry});
    if (!validator.waitForFinished(30000))
        return QStringLiteral("desktop-file-validate did not run");
    const QString said =
        QString::fromUtf8(validator.readAllStandardOutput() + validator.readAllStandardError());
    if (validator.exitStatus() != QProcess::NormalExit || validator.exitCode() != 0)
        return said.isEmpty() ? QStringLiteral("rejected") : said;
    return {};
}

// Whether GIO takes the entry as an application the desktop can start.
inline bool gioAccepts(const QString& entry)
{
    GDesktopAppInfo* info =
        g_desktop_app_info_new_from_filename(QFile::encodeName(entry).constData());
    if (!info)
        return false;
    g_object_unref(info);
    return true;
}

// The well-formedness error of an XML file; empty when there is none.
inline QString xmlError(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unreadable");
    QXmlStreamReader reader(&file);
    while (!reader.atEnd())
        reader.readNext();
    return reader.hasError() ? reader.errorString() : QString();
}

} // namespace DesktopEntryChecks
