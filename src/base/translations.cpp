#include "base/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>

namespace ovra {

namespace {
const QString kCatalogue = QStringLiteral("ovra-clock_");
const QString kQtCatalogue = QStringLiteral("qtbase_");
} // namespace

QStringList catalogueFolders(const QString& executableFolder) {
    const QDir bin(executableFolder);
    return {bin.filePath(QStringLiteral("translations")),
            QDir::cleanPath(bin.filePath(QStringLiteral(OVRA_TRANSLATIONS_FROM_BIN)))};
}

QStringList catalogueLanguages(const QStringList& uiLanguages) {
    QStringList names;
    for (QString language : uiLanguages) {
        const QStringList parts = language.replace(u'-', u'_').split(u'_');
        const QString code = parts.first();
        if (code.isEmpty() || code == u"C" || code == u"POSIX" || code == u"en")
            break;
        // As gettext does: the full name, then without the script ("de_Latn_AT" to
        // "de_AT"), then the bare language, before the user's next language.
        QStringList forms{parts.join(u'_')};
        if (parts.size() == 3)
            forms << code + u'_' + parts.last();
        forms << code;
        for (const QString& form : forms)
            if (!names.contains(form))
                names << form;
    }
    return names;
}

Translations::Translations(const QString& executableFolder, const QLocale& locale) {
    const QStringList folders = catalogueFolders(executableFolder);
    for (const QString& language : catalogueLanguages(locale.uiLanguages())) {
        for (const QString& folder : folders) {
            // Exact names only: load() would also strip "de_DE" down to "de" and
            // further, which the language list already does in the user's order.
            if (QFileInfo::exists(
                    QDir(folder).filePath(kCatalogue + language + QStringLiteral(".qm"))) &&
                m_program.load(kCatalogue + language, folder)) {
                m_language = language;
                break;
            }
        }
        if (!m_language.isEmpty())
            break;
    }
    if (m_language.isEmpty())
        return;
    QCoreApplication::installTranslator(&m_program);
    // Qt's own catalogue follows the program's language, so a dialog never mixes two.
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (m_qt.load(kQtCatalogue + m_language, qtFolder) ||
        m_qt.load(kQtCatalogue + m_language.section(u'_', 0, 0), qtFolder))
        QCoreApplication::installTranslator(&m_qt);
}

} // namespace ovra
