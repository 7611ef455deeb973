// Which catalogue the user's languages lead to, and where the program finds it: in
// the build tree, and in an installation moved to a folder of its own.
#include "base/translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ovra;

TEST(CatalogueLanguages, FollowTheUsersOrderAndStopAtTheSourceLanguage) {
    const struct {
        const char* what;
        QStringList uiLanguages;
        QStringList expected;
    } cases[] = {
        {"German", {"de-DE", "de"}, {"de_DE", "de"}},
        {"French, then English", {"fr-CA", "fr", "en-CA", "en"}, {"fr_CA", "fr"}},
        {"English before German: the texts stay English", {"en-US", "en", "de-DE", "de"}, {}},
        {"C locale", {"C"}, {}},
        {"POSIX locale", {"POSIX"}, {}},
        {"LANGUAGE with two languages", {"fr", "de"}, {"fr", "de"}},
        {"a language named twice is tried once", {"de", "de-AT", "de"}, {"de", "de_AT"}},
        {"script and region, as Qt names a German locale in Austria",
         {"de-Latn-AT", "de-AT"},
         {"de_Latn_AT", "de_AT", "de"}},
        {"a region's language before the next language", {"de-AT", "fr"}, {"de_AT", "de", "fr"}},
        {"nothing", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(catalogueLanguages(c.uiLanguages), c.expected);
    }
}

TEST(CatalogueFolders, BuildFolderFirstThenTheInstalledPlaceBesideTheExecutable) {
    EXPECT_EQ(catalogueFolders(QStringLiteral("/opt/ovra/bin")),
              (QStringList{QStringLiteral("/opt/ovra/bin/translations"),
                           QStringLiteral("/opt/ovra/share/ovra-clock/translations")}));
}

// A package unpacked anywhere (dpkg -x into a throw-away root) finds its catalogue
// relative to the executable; a user whose language has none keeps the English texts.
TEST(Translations, ARelocatedInstallationFindsItsCatalogue) {
    int argc = 1;
    char name[] = "test_translations";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    const QString data = root.filePath(QStringLiteral("usr/share/ovra-clock/translations"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(data));
    ASSERT_TRUE(QFile::copy(QStringLiteral(OVRA_QM_DIR "/ovra-clock_de.qm"),
                            data + QStringLiteral("/ovra-clock_de.qm")));
    const auto apply = [] {
        return QCoreApplication::translate("ovra::SettingsDialog", "&Apply");
    };
    {
        const Translations german(bin, QLocale(QLocale::German, QLocale::Austria));
        EXPECT_EQ(german.language(), QStringLiteral("de"));
        EXPECT_EQ(apply(), QStringLiteral("&Übernehmen"));
    }
    EXPECT_EQ(apply(), QStringLiteral("&Apply")) << "the catalogue outlived its owner";
    const struct {
        const char* what;
        QLocale locale;
    } english[] = {
        {"no catalogue for the language", QLocale(QLocale::Japanese, QLocale::Japan)},
        {"English", QLocale(QLocale::English, QLocale::Germany)},
    };
    for (const auto& c : english) {
        SCOPED_TRACE(c.what);
        const Translations none(bin, c.locale);
        EXPECT_EQ(none.language(), QString());
        EXPECT_EQ(apply(), QStringLiteral("&Apply"));
    }
}
