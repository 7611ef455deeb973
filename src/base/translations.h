#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

namespace ovra {

// The folders that may hold the program's catalogue, searched in this order: the
// build folder (the build writes the catalogues into "translations" beside the
// executable) and the installed place relative to the executable, so a relocated
// installation finds its own catalogues.
QStringList catalogueFolders(const QString& executableFolder);

// The catalogue names to try for the user's languages, most wanted first ("de_DE",
// "de", then the next language). The texts in the code are English: a list stops at
// the first English (or C) entry, since the user prefers the source texts to any
// language after it.
QStringList catalogueLanguages(const QStringList& uiLanguages);

// The program's catalogue and Qt's own (the buttons of message boxes and the colour
// and file dialogs) in the first of the locale's languages that the program has,
// installed into the running application for as long as this object lives.
class Translations {
public:
    explicit Translations(const QString& executableFolder, const QLocale& locale = QLocale());
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // The language whose catalogue is in use ("de"); empty when the texts stay English.
    QString language() const { return m_language; }

private:
    QTranslator m_program;
    QTranslator m_qt;
    QString m_language;
};

} // namespace ovra
