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
    QDir(d).mkdir(QStringLiteral("photos"));
    using K = ShellTarget::Kind;
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
        {"relative document",
         "report.txt",
         {K::Document, {}, QUrl::fromLocalFile(d + "/report.txt")}},
        {"relative path",
         "./photos/../report.txt",
         {K::Document, {}, QUrl::fromLocalFile(d + "/report.txt")}},
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
        {"missing absolute file", d + "/gone.txt", {}},
        {"missing relative file", "sub/gone.txt", {}},
        {"missing file URL", QUrl::fromLocalFile(d + "/gone.txt").toString(), {}},
        {"a command line is not a program", "sh -c 'touch pwned'", {}},
        {"shell syntax is just a missing name", "report.txt; rm -rf ~", {}},
        {"empty", "   ", {}},
        {"never written", QString(255, QChar(u'\0')), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resolveShellTarget(c.note, d), c.expected)
            << c.name << ": " << qPrintable(resolveShellTarget(c.note, d).url.toString()) << " "
            << qPrintable(resolveShellTarget(c.note, d).program);
}
