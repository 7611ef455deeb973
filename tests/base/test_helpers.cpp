#include "base/apppaths.h"
#include "base/clockname.h"
#include "base/memorytrim.h"
#include "base/ossupport.h"
#include "base/textutil.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <thread>
#include <utility>

using namespace ovra;

TEST(cleanString, CutsAtNulThenTrimsSpacesOnly) {
    const struct {
        QString in;
        QString out;
    } cases[] = {
        {QStringLiteral("Tokyo") + QChar(u'\0') + QStringLiteral("garbage"),
         QStringLiteral("Tokyo")},
        {QStringLiteral("   "), QString()},
        {QStringLiteral("  New York  "), QStringLiteral("New York")},
        {QStringLiteral(" a ") + QChar(u'\0') + QStringLiteral(" b "), QStringLiteral("a")},
        {QChar(u'\0') + QStringLiteral("x"), QString()},
        {QStringLiteral("\tTab\t"), QStringLiteral("\tTab\t")},
        {QString(), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cleanString(c.in), c.out) << qPrintable(c.in);
}

TEST(fileExists, EmptyOrBlankIsFalseAndFoldersCount) {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("a.cfg")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(fileExists(QString()));
    EXPECT_FALSE(fileExists(QStringLiteral("    ")));
    EXPECT_TRUE(fileExists(f.fileName()));
    EXPECT_TRUE(fileExists(QStringLiteral("  ") + f.fileName() + QStringLiteral("  ")));
    EXPECT_TRUE(fileExists(dir.path()));
    EXPECT_FALSE(fileExists(dir.filePath(QStringLiteral("missing"))));
}

TEST(clockName, ArgumentsJoinWithSingleSpacesAndDefaultWhenEmpty) {
    EXPECT_EQ(clockNameFromArguments({}), QStringLiteral("Default"));
    EXPECT_EQ(clockNameFromArguments({QStringLiteral("   ")}), QStringLiteral("Default"));
    EXPECT_EQ(clockNameFromArguments({QStringLiteral("  Office  ")}), QStringLiteral("Office"));
    EXPECT_EQ(clockNameFromArguments({QStringLiteral("New"), QStringLiteral("York")}),
              QStringLiteral("New York"));
    EXPECT_EQ(clockNameFromArguments({QStringLiteral("São Paulo")}), QStringLiteral("São Paulo"));
}

TEST(clockName, UnsafeNamesAreRefusedWithAReason) {
    const QString refused[] = {
        QStringLiteral("../etc"),
        QStringLiteral("a/b"),
        QStringLiteral("a\\b"),
        QStringLiteral("."),
        QStringLiteral(".."),
        QStringLiteral("{A}"),
        QStringLiteral("A}"),
        QStringLiteral("System"),
        QStringLiteral("tab\there"),
        QStringLiteral("bell\a"),
        QString(QChar(0x7f)),
        QStringLiteral("--list"),
        QString(QChar(0xfffd)),
        QString(),
        QString(kMaxClockNameBytes + 1, u'x'),
        QString(kMaxClockNameBytes / 2 + 1, QChar(0xe9)), // two bytes each in UTF-8
        // Names that list as a blank line.
        QString(QChar(0xa0)),
        QStringLiteral("\u2000\u2003\u200a"),
        QString(QChar(0x3000)),
        QStringLiteral("\u3164\u00a0"),
        QString(QChar(0x2800)),
        // Noncharacters, in the first plane and beyond it.
        QStringLiteral("A\ufffe"),
        QStringLiteral("B\uffff"),
        QStringLiteral("C\ufdd0"),
        QStringLiteral("D\ufdef"),
        QString::fromUcs4(U"E\U0001FFFF"),
        QString::fromUcs4(U"F\U0010FFFE"),
        // A format character beyond the first plane (a language tag).
        QString::fromUcs4(U"G\U000E0001"),
    };
    for (const QString& name : refused)
        EXPECT_FALSE(clockNameProblem(name).isEmpty()) << qPrintable(name);

    const QString accepted[] = {QStringLiteral("Default"),
                                QStringLiteral("New York"),
                                QStringLiteral("system"),
                                QStringLiteral("Tōkyō 東京"),
                                QStringLiteral("a.b"),
                                QStringLiteral("..."),
                                QString(kMaxClockNameBytes, u'x'),
                                QStringLiteral("New\u00a0York"),
                                QStringLiteral("\u3000A"),
                                QString::fromUcs4(U"\U0001F570\uFDCF\uFDF0")};
    for (const QString& name : accepted)
        EXPECT_TRUE(clockNameProblem(name).isEmpty()) << qPrintable(clockNameProblem(name));
}

TEST(clockName, InvalidUtf8BytesAreRefused) {
    EXPECT_FALSE(clockNameBytesProblem(QByteArray("Caf\xe9")).isEmpty());
    EXPECT_TRUE(clockNameBytesProblem(QByteArray("Caf\xc3\xa9")).isEmpty());
}

TEST(OperatingSystem, OnlyTheOldFamilyIsRefusedWithItsDescription) {
    OsVersionInfo nt{2, 10, 0, 19045, {}};
    EXPECT_FALSE(unsupportedSystemMessage(nt).has_value());

    OsVersionInfo w98{1, 4, 10, 0x040A07CE, {}};
    EXPECT_EQ(*unsupportedSystemMessage(w98),
              QStringLiteral("Sorry! Felmar can't support Microsoft Windows 98  (Build 67766222)"));

    OsVersionInfo me{1, 4, 90, 3000, QStringLiteral(" A ") + QChar(u'\0') + QStringLiteral("x")};
    EXPECT_EQ(
        *unsupportedSystemMessage(me),
        QStringLiteral("Sorry! Felmar can't support Microsoft Windows Mellinnium A (Build 3000)"));

    OsVersionInfo unknownMinor{1, 4, 3, 1, QStringLiteral("SP")};
    EXPECT_EQ(*unsupportedSystemMessage(unknownMinor),
              QStringLiteral("Sorry! Felmar can't support "));

    ASSERT_TRUE(queryOsVersion().has_value());
    EXPECT_FALSE(unsupportedSystemMessage(*queryOsVersion()).has_value());
}

TEST(AppPaths, BuildsFoldersWithTrailingSlashAndCreatesDataFolder) {
    test::TestHome home;
    const PathRoots roots = home.roots();
    const AppPaths p = AppPaths::build(QStringLiteral("Default"), roots);
    EXPECT_EQ(p.appFolder, roots.appFolder + u'/');
    EXPECT_EQ(p.dataFolder, roots.dataRoot + QStringLiteral("/Tamrel/Ovra Clock/"));
    EXPECT_EQ(p.alarmFilePath, p.dataFolder + QStringLiteral("Default.cfg"));
    EXPECT_EQ(p.defaultAlarmSoundPath, roots.tempFolder + QStringLiteral("/alarm.wav"));
    EXPECT_EQ(p.storePath, roots.configRoot + QStringLiteral("/Tamrel/Ovra Clock/registry.db"));
    EXPECT_TRUE(QFileInfo(p.dataFolder).isDir());
    EXPECT_FALSE(QFile::exists(p.defaultAlarmSoundPath)) << "the sound file is never created";

    PathRoots rootFolder = roots;
    rootFolder.appFolder = QStringLiteral("/");
    EXPECT_EQ(AppPaths::build(QStringLiteral("X"), rootFolder).appFolder, QStringLiteral("/"));
}

// The data folder holds the alarm notes: only its owner may look in, also when an
// earlier version created it open to all. The folders above it are not ours to change.
TEST(AppPaths, TheDataFolderIsPrivateAndTightenedWhenItWasNot) {
    test::TestHome home;
    const PathRoots roots = home.roots();
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const auto others = QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                        QFileDevice::ExeOther;
    const QString data = AppPaths::build(QStringLiteral("Default"), roots).dataFolder;
    EXPECT_EQ(QFile::permissions(data) & (ownerOnly | others), ownerOnly);

    QFile::setPermissions(data, ownerOnly | others);
    QFile::setPermissions(roots.dataRoot, ownerOnly | others);
    AppPaths::build(QStringLiteral("Default"), roots);
    EXPECT_EQ(QFile::permissions(data) & (ownerOnly | others), ownerOnly);
    EXPECT_EQ(QFile::permissions(roots.dataRoot) & (ownerOnly | others), ownerOnly | others);
}

TEST(AppPaths, UnwritableDataRootIsSilent) {
    test::TestHome home;
    PathRoots roots = home.roots();
    QFile blocker(roots.dataRoot + QStringLiteral("/Tamrel"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    const AppPaths p = AppPaths::build(QStringLiteral("Default"), roots);
    EXPECT_FALSE(QFileInfo(p.dataFolder).isDir());
    EXPECT_TRUE(p.alarmFilePath.endsWith(QStringLiteral("/Default.cfg")));
}

namespace {

// Private dirty kilobytes of the mapping that holds address.
long dirtyKbOfMappingAt(const void* address) {
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const auto at = reinterpret_cast<quintptr>(address);
    bool inside = false;
    for (QByteArray line = smaps.readLine(); !line.isEmpty(); line = smaps.readLine()) {
        const int dash = line.indexOf('-'), space = line.indexOf(' ');
        bool startOk = false, endOk = false;
        const quintptr start = line.left(dash).toULongLong(&startOk, 16);
        const quintptr end = line.mid(dash + 1, space - dash - 1).toULongLong(&endOk, 16);
        if (dash > 0 && space > dash && startOk && endOk)
            inside = start <= at && at < end;
        else if (inside && line.startsWith("Private_Dirty:"))
            return line.mid(14).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// Half a megabyte of stack, touched and left, as a deep drawing call leaves it.
[[gnu::noinline]] void runDeep() {
    volatile char deep[512 * 1024];
    for (size_t i = 0; i < sizeof deep; i += 1024)
        deep[i] = char(i);
}

// Runs deep, then measures the stack's dirty pages before and after handing the
// unused ones back.
std::pair<long, long> stackBeforeAndAfterRelease() {
    runDeep();
    volatile char here = 0;
    const long before = dirtyKbOfMappingAt(const_cast<char*>(&here));
    releaseUnusedStack();
    return {before, dirtyKbOfMappingAt(const_cast<char*>(&here))};
}

} // namespace

// Drawing leaves its deep stack pages behind on whichever thread it ran: the main
// thread's and a pool thread's alike go back, while the frames in use stay.
TEST(MemoryTrim, TheStackBelowTheCallerGoesBackOnEveryThread) {
    std::pair<long, long> mainThread = stackBeforeAndAfterRelease(), otherThread;
    std::thread([&] { otherThread = stackBeforeAndAfterRelease(); }).join();
    for (const auto& [before, after] : {mainThread, otherThread}) {
        EXPECT_GE(before, 500);
        EXPECT_GT(after, 0);
        EXPECT_LT(after, 100);
    }
}
