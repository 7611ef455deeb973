#include "alarms/shelltarget.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace ovra;

namespace {

void makeFile(const QString& path, bool executable, const QByteArray& content = "#!/bin/sh\n") {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    auto perms = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (executable)
        perms |= QFileDevice::ExeOwner;
    f.setPermissions(perms);
}

} // namespace

TEST(ShellTarget, WhatANoteOpens) {
    QTemporaryDir dir;
    const QString d = dir.path();
    makeFile(d + QStringLiteral("/report.txt"), false);
    makeFile(d + QStringLiteral("/backup job"), true);
    makeFile(d + QStringLiteral("/planted"), true);
    makeFile(d + QStringLiteral("/readme"), false);
    QDir(d).mkdir(QStringLiteral("photos"));
    // Started in a folder others can write, with the working folder on PATH.
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(d);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", ".::" + path);
    using K = ShellTarget::Kind;
    const ShellTarget notFound{K::NotFound, {}, {}};
    const QString shPath = QStandardPaths::findExecutable(QStringLiteral("sh"));

    struct Case {
        const char* name;
        QString note;
        ShellTarget expected;
    } cases[] = {
        {"document by absolute path",
         d + "/report.txt",
         {K::Document, {}, QUrl::fromLocalFile(d + "/report.txt")}},
        {"padding and NUL are cleaned off",
         "  " + d + "/report.txt   " + QChar(u'\0') + "junk",
         {K::Document, {}, QUrl::fromLocalFile(d + "/report.txt")}},
        {"executable with a space, run directly",
         d + "/backup job",
         {K::Program, d + "/backup job", {}}},
        {"folder", d + "/photos", {K::Document, {}, QUrl::fromLocalFile(d + "/photos")}},
        {"a relative document is not looked for in the working folder", "readme", notFound},
        {"nor is a relative path", "./photos/../report.txt", notFound},
        {"nor a program there, even with \".\" on PATH", "planted", notFound},
        {"file URL",
         QUrl::fromLocalFile(d + "/report.txt").toString(),
         {K::Document, {}, QUrl::fromLocalFile(d + "/report.txt")}},
        {"web address",
         "https://example.org/a?b=c",
         {K::Address, {}, QUrl("https://example.org/a?b=c")}},
        {"mail address",
         "mailto:someone@example.org",
         {K::Address, {}, QUrl("mailto:someone@example.org")}},
        {"bare host", "www.example.org", {K::Address, {}, QUrl("http://www.example.org")}},
        {"program on PATH", "sh", {K::Program, shPath, {}}},
        {"missing absolute file", d + "/gone.txt", notFound},
        {"missing relative file", "sub/gone.txt", notFound},
        {"missing file URL", QUrl::fromLocalFile(d + "/gone.txt").toString(), notFound},
        {"a command line is not a program", "sh -c 'touch pwned'", notFound},
        {"shell syntax is just a missing name", "report.txt; rm -rf ~", notFound},
        {"empty", "   ", {}},
        {"never written", QString(255, QChar(u'\0')), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resolveShellTarget(c.note), c.expected)
            << c.name << ": " << qPrintable(resolveShellTarget(c.note).url.toString()) << " "
            << qPrintable(resolveShellTarget(c.note).program);
    qputenv("PATH", path);
    QDir::setCurrent(cwd);
}

// Only a program that nobody but this user or root can change runs; an executable
// document opens; a file: address without an absolute path names nothing. Notes
// with spaces reach the opener percent-encoded.
TEST(ShellTarget, WhatMayRunAndWhatOpens) {
    QTemporaryDir dir;
    const QString d = dir.path();
    const QString shared = d + QStringLiteral("/shared"), open = d + QStringLiteral("/open"),
                  sticky = d + QStringLiteral("/sticky"),
                  docs = d + QStringLiteral("/My Documents");
    for (const QString& folder : {shared, open, sticky, docs})
        ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::chmod(QFile::encodeName(open).constData(), 0777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(sticky).constData(), 01777), 0);
    makeFile(shared + "/report.txt", true, "Minutes of the meeting\n");
    makeFile(shared + "/minutes.pdf", true, "%PDF-1.4\n");
    makeFile(shared + "/job", true);
    makeFile(shared + "/tool", true, QByteArray("\x7f") + "ELF\x02\x01");
    makeFile(shared + "/writable", true);
    ASSERT_EQ(::chmod(QFile::encodeName(shared + "/writable").constData(), 0757), 0);
    // Where each user has a group of their own, files are group-writable by default.
    makeFile(shared + "/own group", true);
    ASSERT_EQ(::chmod(QFile::encodeName(shared + "/own group").constData(), 0775), 0);
    makeFile(open + "/job", true);
    makeFile(sticky + "/job", true);
    makeFile(docs + "/agenda.txt", false, "agenda\n");
    QFile::link(open + "/job", shared + "/link to job");
    QFile::link(shared + "/job", open + "/link to private job");
    makeFile(d + "/agenda", true);
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(d);

    using K = ShellTarget::Kind;
    const auto doc = [](const QString& path) {
        return ShellTarget{K::Document, {}, QUrl::fromLocalFile(path), {}};
    };
    const auto address = [](const char* encoded) {
        return ShellTarget{K::Address, {}, QUrl::fromEncoded(encoded, QUrl::StrictMode), {}};
    };
    const auto refused = [](const char* why) {
        return ShellTarget{K::Refused, {}, {}, QString::fromUtf8(why)};
    };
    struct Case {
        const char* name;
        QString note;
        ShellTarget expected;
    };
    std::vector<Case> cases = {
        {"file: without slashes is no file of the working folder", "file:agenda",
         refused("a file: address needs the file's absolute path")},
        {"nor with a dot", "file:./agenda",
         refused("a file: address needs the file's absolute path")},
        {"an executable text opens", shared + "/report.txt", doc(shared + "/report.txt")},
        {"as does an executable PDF by address",
         QUrl::fromLocalFile(shared + "/minutes.pdf").toString(), doc(shared + "/minutes.pdf")},
        {"a private script runs", shared + "/job", {K::Program, shared + "/job", {}, {}}},
        {"a private binary runs", shared + "/tool", {K::Program, shared + "/tool", {}, {}}},
        {"one in a sticky folder too", sticky + "/job", {K::Program, sticky + "/job", {}, {}}},
        {"as does one only the user's own group may change",
         shared + "/own group",
         {K::Program, shared + "/own group", {}, {}}},
        {"one others may change does not", shared + "/writable",
         refused("other users may change it")},
        {"nor one in a folder others may change", open + "/job",
         refused(qPrintable("other users may change its folder " + open))},
        {"nor through a link", shared + "/link to job",
         refused(qPrintable("other users may change its folder " + open))},
        {"nor one named by a link that others may change", open + "/link to private job",
         refused(qPrintable("other users may change its folder " + open))},
        {"a file: address with a space", "file://" + docs + "/agenda.txt",
         doc(docs + "/agenda.txt")},
        {"a web address with a space", "https://example.com/a b",
         address("https://example.com/a%20b")},
        {"a mail subject with a space", "mailto:team@example.org?subject=Weekly report",
         address("mailto:team@example.org?subject=Weekly%20report")},
    };
    // Another user's program, where this test may give one away.
    makeFile(shared + "/theirs", true);
    if (::geteuid() == 0 &&
        ::chown(QFile::encodeName(shared + "/theirs").constData(), 65534, 65534) == 0)
        cases.push_back({"another user's program does not run", shared + "/theirs",
                         refused("it is a program of another user")});
    for (const Case& c : cases) {
        const ShellTarget got = resolveShellTarget(c.note);
        EXPECT_EQ(got, c.expected) << c.name << ": kind " << int(got.kind) << " "
                                   << qPrintable(got.url.toString() + got.program + got.why);
    }
    QDir::setCurrent(cwd);
}
