#pragma once

#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <functional>

// The translation for the user's languages, taken in their order of preference: the first
// language that has one, by full name ("pt_BR", "zh_CN") or by language alone ("de" for
// "de-AT"). English, the language the texts are written in, ends the search, so "en:de" stays
// English. Empty when no language has one.
QString chooseTranslation(const QStringList& uiLanguages,
                          const std::function<bool(const QString& name)>& available);

// Traymate's own texts and Qt's (the dialogs' standard buttons, the file chooser) in the
// user's language, installed on the running application for as long as this object lives.
// The languages come from LANGUAGE, LC_MESSAGES and LANG through QLocale.
class Translations {
public:
    explicit Translations(const QStringList& uiLanguages = QLocale::system().uiLanguages());
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // The chosen translation ("de", "pt_BR"); empty for English.
    QString language() const { return m_language; }

    // Whether Traymate has a translation of this name.
    static bool isAvailable(const QString& name);

private:
    QTranslator m_own;
    QTranslator m_qt;
    QString m_language;
};
