#pragma once

#include <QByteArray>
#include <QString>

// The freedesktop registration of the traymate:// scheme: a desktop entry for the program and
// its line in the user's mimeapps.list. Pure text functions, so tests need no desktop.
namespace UrlScheme {

inline const QString mimeType = QStringLiteral("x-scheme-handler/traymate");
inline const QString entryName = QStringLiteral("traymate.desktop");

// The desktop entry that starts `program` (an absolute path) with the URL.
QString desktopEntry(const QString& program);

// The program path as the start of an Exec line, quoted and escaped where needed; through
// /usr/bin/env when the path holds "%".
QString execArgument(const QString& program);

// `mimeapps` with traymate.desktop as the default handler of the scheme; every other line,
// comment and section stays as it was, byte for byte, whatever its encoding.
QByteArray withDefaultHandler(const QByteArray& mimeapps);

} // namespace UrlScheme
