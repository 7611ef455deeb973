#include "alarms/shelltarget.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ovra;

namespace {

void makeFile(const QString& path, bool executable) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n");
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
