// An "execute" alarm whose note is full of shell syntax: the document, address or
// program it names reaches the desktop's opener (or is started) as one literal
// argument, and none of the syntax is ever run. The opener is a recording
// stand-in for xdg-open found first on PATH, on a private X server.
#include "alarms/desktopshellopen.h"
#include "alarms/shelltarget.h"
#include "support/desktop.h"
#include "support/desktopdriver.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

using namespace ovra;

namespace {

// Writes its own path, its argument count and each argument on a line of their
// own into a file named after its process in the records folder.
QByteArray recorderScript(const QString& records) {
    return "#!/bin/sh\n"
           "f='" +
           QFile::encodeName(records) +
           "'/$$\n"
           "{ printf '%s\\n' \"$0\" \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; }"
           " > \"$f.part\" && mv \"$f.part\" \"$f\"\n";
}

QStringList finishedRecords(const QString& records) {
    QStringList done;
    for (const QString& name : QDir(records).entryList(QDir::Files))
        if (!name.endsWith(QStringLiteral(".part")))
            done << name;
    return done;
}

void writeFile(const QString& path, const QByteArray& content, bool executable) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << qPrintable(path);
    file.write(content);
    file.close();
    auto permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (executable)
        permissions |= QFileDevice::ExeOwner;
    file.setPermissions(permissions);
}

} // namespace

TEST(HostileOpen, ShellSyntaxInANoteIsNeverRun) {
    QTemporaryDir work;
    const QString bin = work.path() + QStringLiteral("/bin");
    const QString records = work.path() + QStringLiteral("/records");
    const QString docs = work.path() + QStringLiteral("/docs");
    const QString cwd = work.path() + QStringLiteral("/cwd");
    for (const QString& dir : {bin, records, docs, cwd})
        ASSERT_TRUE(QDir().mkpath(dir));
    writeFile(bin + QStringLiteral("/xdg-open"), recorderScript(records), true);
    qputenv("PATH", QFile::encodeName(bin) + ':' + qgetenv("PATH"));
    QDir::setCurrent(cwd);

    const QString syntax = QStringLiteral("; touch pwned $(touch pwned) `touch pwned` & | > pwned");
    const QString document = docs + QStringLiteral("/report") + syntax + QStringLiteral(".txt");
    writeFile(document, "text", false);
    const QString program = docs + QStringLiteral("/job \"quoted\" 'single'") + syntax;
    writeFile(program, recorderScript(records), true);
    const QString address = QStringLiteral("https://example.org/a;touch$IFS.pwned?q=$(id)&r='x'");

    const struct {
        const char* what;
        QString note;
        QString expectedProgram; // empty: the opener, with the expected URL
        QUrl expectedUrl;
    } cases[] = {
        {"document", document, {}, QUrl::fromLocalFile(document)},
        {"address", address, {}, QUrl(address)},
        {"program", program, program, {}},
    };
    DesktopShellOpen opener;
    for (const auto& c : cases) {
        QDir(records).removeRecursively();
        QDir().mkpath(records);
        const ShellTarget target = resolveShellTarget(c.note);
        ASSERT_TRUE(target.kind != ShellTarget::Kind::Nothing &&
                    target.kind != ShellTarget::Kind::NotFound)
            << c.what;
        opener.open(target);
        ASSERT_TRUE(test::waitFor([&] { return !finishedRecords(records).isEmpty(); }, 10000))
            << c.what << ": nothing was started";
        const QStringList recorded = finishedRecords(records);
        ASSERT_EQ(recorded.size(), 1) << c.what;
        QFile file(records + u'/' + recorded[0]);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        if (c.expectedProgram.isEmpty()) {
            ASSERT_EQ(lines.size(), 3) << c.what << ": " << qPrintable(lines.join(u" | "));
            EXPECT_EQ(lines[1], QStringLiteral("1")) << c.what;
            EXPECT_EQ(QUrl(lines[2], QUrl::StrictMode), c.expectedUrl) << c.what;
        } else {
            ASSERT_EQ(lines.size(), 2) << c.what << ": " << qPrintable(lines.join(u" | "));
            EXPECT_EQ(lines[0], c.expectedProgram) << c.what;
            EXPECT_EQ(lines[1], QStringLiteral("0")) << c.what;
        }
    }
    for (const QString& dir : {cwd, docs, work.path(), bin})
        EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/pwned"))) << qPrintable(dir);
    EXPECT_EQ(QDir(cwd).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

int main(int argc, char** argv) {
    test::TestHome home;
    // The desktop's opener is chosen by the X platform; the server must exist first.
    auto desktop = std::make_unique<test::PrivateDesktop>(640, 480, false);
    if (!desktop->ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(desktop->error()));
        return 1;
    }
    qunsetenv("QT_QPA_PLATFORM");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
