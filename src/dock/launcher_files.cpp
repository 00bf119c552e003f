#include "dock/launcher_files.h"

#include "dock/desktop_entry_text.h"
#include "dock/launchers.h"
#include "dock/text_utilities.h"
#include "model/safe_file.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QStringBuilder>

namespace Launchers {

QString bundleSafeName(const QString& name)
{
    QString safe = name;
    safe.replace(QLatin1Char('/'), QLatin1Char('-'));
    return safe;
}

QByteArray infoPlist(const AppGroup& group)
{
    const QString lines[] = {
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"),
        QStringLiteral("<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                       "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">"),
        QStringLiteral("<plist version=\"1.0\">"),
        QStringLiteral("<dict>"),
        QStringLiteral("<key>CFBundleExecutable</key><string>launch</string>"),
        QStringLiteral("<key>CFBundleIdentifier</key><string>") % bundleIdentifierPrefix %
            QStringLiteral(".group.") % group.idText() % QStringLiteral("</string>"),
        QStringLiteral("<key>CFBundleName</key><string>") % xmlEscape(bundleSafeName(group.name)) %
            QStringLiteral("</string>"),
        QStringLiteral("<key>CFBundlePackageType</key><string>APPL</string>"),
        QStringLiteral("<key>CFBundleVersion</key><string>1</string>"),
        QStringLiteral("<key>LSUIElement</key><true/>"),
        QStringLiteral("</dict>"),
        QStringLiteral("</plist>"),
    };
    return QStringList(std::begin(lines), std::end(lines)).join(QLatin1Char('\n')).toUtf8();
}

QByteArray launchScript(const AppGroup& group)
{
    // xdg-open hands the URL to the program registered for the scheme, as `open` does on macOS.
    return (QStringLiteral("#!/bin/bash\nxdg-open \"traymate://group/") % group.idText() %
            QStringLiteral("\"\n"))
        .toUtf8();
}

QString scriptPath(const QString& bundle)
{
    return bundle + QStringLiteral("/Contents/MacOS/launch");
}

QString iconPath(const QString& bundle)
{
    return bundle + QStringLiteral("/Contents/Resources/icon.png");
}

QString signature(const QList<AppGroup>& groups)
{
    QString text;
    text.reserve(groups.size() * 64);
    for (qsizetype g = 0; g < groups.size(); ++g) {
        const AppGroup& group = groups[g];
        if (g > 0)
            text += QLatin1Char(';');
        text += group.name;
        text += QLatin1Char('|');
        if (group.icon)
            text += *group.icon;
        text += QLatin1Char('|');
        const qsizetype shown = std::min<qsizetype>(group.apps.size(), 4);
        for (qsizetype i = 0; i < shown; ++i) {
            if (i > 0)
                text += QLatin1Char(',');
            text += group.apps[i];
        }
    }
    return text;
}

QString tileText(const QString& bundlePath)
{
    return QStringLiteral("<dict><key>tile-data</key><dict><key>file-data</key><dict>"
                          "<key>_CFURLString</key><string>") %
           xmlEscape(bundlePath) %
           QStringLiteral("</string><key>_CFURLStringType</key><integer>0</integer>"
                          "</dict></dict></dict>");
}

QByteArray desktopEntry(const AppGroup& group, const QString& bundle)
{
    using namespace DesktopEntryText;
    const QString text =
        QStringLiteral("[Desktop Entry]\nType=Application\nVersion=1.0\nName=") %
        escapeString(group.name) % QStringLiteral("\nExec=") %
        escapeString(quoteExecArgument(scriptPath(bundle))) % QStringLiteral("\nIcon=") %
        escapeString(iconPath(bundle)) %
        // No Categories: the launcher is not an application of its own, and the Dock import
        // files it under "Other" like the bundle.
        QStringLiteral("\nTerminal=false\nNoDisplay=false\nStartupNotify=false\n"
                       // Lets a dock that lists desktop entries find the bundle again.
                       "X-Traymate-Bundle=") %
        escapeString(bundle) % QStringLiteral("\n");
    return text.toUtf8();
}

bool setBundleIcon(const QImage& image, const AppGroup& group, const QString& bundle)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return false;
    const QString icon = iconPath(bundle);
    if (!QDir().mkpath(QFileInfo(icon).path()) || !writeFileAtomically(icon, png))
        return false;
    const QString entry = desktopEntryPath(group.id);
    QDir().mkpath(QFileInfo(entry).path());
    writeFileAtomically(entry, desktopEntry(group, bundle));
    return true;
}

} // namespace Launchers
