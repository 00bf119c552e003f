#include "dock/launcher_files.h"

#include "dock/desktop_entry_text.h"
#include "dock/launchers.h"
#include "dock/xml_escape.h"
#include "model/safe_file.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringBuilder>
#include <QTextBoundaryFinder>

namespace Launchers {

namespace {

const QString kUrlPrefix = QStringLiteral("traymate://group/");

// The file system's limit for one name, in bytes.
constexpr qsizetype kNameBytes = 255;

// The longest start of `text` that fits `bytes` in UTF-8, ending at a boundary of `unit`.
QString fittingStart(const QString& text, qsizetype bytes, QTextBoundaryFinder::BoundaryType unit)
{
    QTextBoundaryFinder boundaries(unit, text);
    qsizetype kept = 0;
    qsizetype used = 0;
    for (qsizetype end = boundaries.toNextBoundary(); end > 0; end = boundaries.toNextBoundary()) {
        used += QStringView(text).mid(kept, end - kept).toUtf8().size();
        if (used > bytes)
            break;
        kept = end;
    }
    return text.left(kept);
}

} // namespace

QString bundleSafeName(const QString& name)
{
    QString safe;
    safe.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        const bool pair =
            c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate();
        if (pair) {
            safe += c;
            safe += name[++i];
        } else if (c == QLatin1Char('/')) {
            safe += QLatin1Char('-');
        } else if (c.category() == QChar::Other_Control) {
            safe += QLatin1Char(' ');
        } else if (c.isSurrogate() || c.unicode() == 0xfffe || c.unicode() == 0xffff) {
            safe += QChar(QChar::ReplacementCharacter);
        } else {
            safe += c;
        }
    }
    return safe;
}

QString bundleFileName(const QString& name, int copy)
{
    const QString suffix =
        (copy > 1 ? QLatin1Char(' ') + QString::number(copy) : QString()) + QStringLiteral(".app");
    const QString safe = bundleSafeName(name);
    const qsizetype room = kNameBytes - suffix.toUtf8().size();
    if (safe.toUtf8().size() <= room)
        return safe + suffix;
    // Whole characters as the reader sees them; code points only when not even one fits.
    QString start = fittingStart(safe, room, QTextBoundaryFinder::Grapheme);
    if (start.isEmpty()) {
        for (qsizetype i = 0, used = 0; i < safe.size();) {
            const qsizetype width = safe[i].isHighSurrogate() ? 2 : 1;
            used += QStringView(safe).mid(i, width).toUtf8().size();
            if (used > room)
                break;
            i += width;
            start = safe.left(i);
        }
    }
    return start + suffix;
}

std::optional<QUuid> scriptGroup(const QString& bundle)
{
    const QString script = scriptPath(bundle);
    // Only a small regular file is read: a FIFO or a device would block or never end.
    const QFileInfo info(script);
    if (!info.isFile() || info.size() > 4096)
        return std::nullopt;
    QFile file(script);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QString text = QString::fromUtf8(file.read(4096));
    const qsizetype at = text.indexOf(kUrlPrefix);
    if (at < 0)
        return std::nullopt;
    const std::optional<QUuid> id = parseGroupId(QStringView(text).mid(at + kUrlPrefix.size(), 36));
    if (!id || id->isNull())
        return std::nullopt;
    return id;
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
    return (QStringLiteral("#!/bin/bash\nxdg-open \"") % kUrlPrefix % group.idText() %
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
        escapeString(execLine(scriptPath(bundle))) % QStringLiteral("\nIcon=") %
        escapeString(iconPath(bundle)) %
        // No Categories: the launcher is not an application of its own, and the Dock import
        // files it under "Other" like the bundle.
        QStringLiteral("\nTerminal=false\nNoDisplay=false\nStartupNotify=true\n"
                       // Lets a dock that lists desktop entries find the bundle again.
                       "X-Traymate-Bundle=") %
        escapeString(bundle) % QStringLiteral("\n");
    return text.toUtf8();
}

bool writeBundleIcon(const QImage& image, const QString& bundle)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return false;
    const QString icon = iconPath(bundle);
    return QDir().mkpath(QFileInfo(icon).path()) && writeFileAtomically(icon, png);
}

void writeDesktopEntry(const AppGroup& group, const QString& bundle)
{
    const QString entry = desktopEntryPath(group.id);
    QDir().mkpath(QFileInfo(entry).path());
    writeFileAtomically(entry, desktopEntry(group, bundle));
}

bool setBundleIcon(const QImage& image, const AppGroup& group, const QString& bundle)
{
    if (!writeBundleIcon(image, bundle))
        return false;
    writeDesktopEntry(group, bundle);
    return true;
}

} // namespace Launchers
