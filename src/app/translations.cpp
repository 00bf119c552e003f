#include "app/translations.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>

namespace {

// Where the build embeds the compiled translations, as traymate_<name>.qm.
const QString ownFolder = QStringLiteral(":/translations/");

QString ownFile(const QString& name)
{
    return ownFolder + QStringLiteral("traymate_") + name + QStringLiteral(".qm");
}

} // namespace

QString chooseTranslation(const QStringList& uiLanguages,
                          const std::function<bool(const QString& name)>& available)
{
    for (const QString& language : uiLanguages) {
        const QLocale locale(language);
        // The C locale (LANG=C, or a name QLocale does not know) reads as English too.
        if (locale.language() == QLocale::English || locale.language() == QLocale::C)
            return {};
        const QString full = locale.name();
        if (available(full))
            return full;
        const QString alone = full.section(QLatin1Char('_'), 0, 0);
        if (available(alone))
            return alone;
    }
    return {};
}

bool Translations::isAvailable(const QString& name)
{
    return QFile::exists(ownFile(name));
}

Translations::Translations(const QStringList& uiLanguages)
    : m_language(chooseTranslation(uiLanguages, &Translations::isAvailable))
{
    if (m_language.isEmpty())
        return;
    if (m_own.load(ownFile(m_language)))
        QCoreApplication::installTranslator(&m_own);
    // Missing when qt6-translations-l10n is not installed: Qt's own texts then stay English.
    if (m_qt.load(QStringLiteral("qtbase_") + m_language,
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qt);
}

Translations::~Translations()
{
    QCoreApplication::removeTranslator(&m_qt);
    QCoreApplication::removeTranslator(&m_own);
}
