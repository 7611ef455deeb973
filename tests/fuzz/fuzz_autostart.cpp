// Any bytes as a clock's autostart entry, and any program path and clock name: the
// entry reader never fails, an entry it does not recognise is replaced only when
// the clock should start with the session, and what the clock writes is what a
// session manager that follows the Desktop Entry rules would run.
#include "base/apppaths.h"
#include "base/clockname.h"
#include "fuzz/fuzzcheck.h"
#include "settings/autorun.h"
#include "settings/desktopentry.h"
#include "settings/settingsstore.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace ovra;

namespace {

// The arguments of an Exec value (already unescaped as a string value): separated
// by spaces, double quotes around an argument with reserved characters and a
// backslash before ", `, $ and \ inside them, "%%" for a literal "%". Nothing when
// the line breaks those rules or holds a field code.
std::optional<QStringList> execArguments(const QString& line) {
    QStringList args;
    QString current;
    bool inArgument = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u' ') {
            if (inArgument)
                args << current;
            current.clear();
            inArgument = false;
        } else if (c == u'"') {
            inArgument = true;
            for (++i;; ++i) {
                if (i >= line.size())
                    return std::nullopt;
                if (line[i] == u'"')
                    break;
                if (line[i] == u'\\') {
                    if (++i >= line.size() || !QStringView(u"\"`$\\").contains(line[i]))
                        return std::nullopt;
                }
                current += line[i];
            }
        } else {
            if (QStringView(u"\t\n\"'\\><~|&;$*?#()`").contains(c))
                return std::nullopt;
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        args << current;
    for (QString& arg : args) {
        QString plain;
        for (qsizetype i = 0; i < arg.size(); ++i) {
            if (arg[i] == u'%') {
                if (i + 1 >= arg.size() || arg[i + 1] != u'%')
                    return std::nullopt;
                ++i;
            }
            plain += arg[i];
        }
        arg = plain;
    }
    return args;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    FuzzedDataProvider fdp(data, size);
    const QString program = QString::fromUtf8(fdp.ConsumeRandomLengthString(200));
    const QString name = QString::fromUtf8(fdp.ConsumeRandomLengthString(80));
    const bool wishStart = fdp.ConsumeBool();
    const std::string content = fdp.ConsumeRemainingBytesAsString();
    if (program.contains(QChar(u'\0')) || !clockNameProblem(name).isEmpty())
        return 0;

    // The command line survives being written as a value and read back as one.
    const QString line = desktopExecLine({program, name});
    CHECK(unescapeDesktopValue(escapeDesktopValue(line)) == line);
    CHECK(execArguments(line) == QStringList({program, name}));

    ClockState state;
    state.clockName = name;
    AppPaths paths;
    paths.autostartFolder = folder.path() + u'/';
    Autorun autorun(state, paths, program);
    const QString entry = autorun.entryFilePath();
    {
        QFile file(entry);
        CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content.data(), qint64(content.size()));
    }
    const QByteArray found = fileBytes(entry);
    const int choice = autorun.getAutorunChoice();
    CHECK(choice == 0 || choice == 1);

    if (wishStart) {
        CHECK(autorun.syncAutorunEntry(0) == 1);
        CHECK(autorun.getAutorunChoice() == 0);
        const auto exec = readDesktopEntryKey(entry, QStringLiteral("Exec"));
        // A name that begins with "-" follows "--", so that it is never an option.
        CHECK(exec && execArguments(*exec) == QStringList{program} + clockArguments(name));
    } else {
        autorun.syncAutorunEntry(1);
        // Someone else's entry stays as it was; the clock's own one goes.
        if (choice == 1)
            CHECK(fileBytes(entry) == found);
        else
            CHECK(!QFile::exists(entry));
        CHECK(autorun.getAutorunChoice() == 1);
    }
    QFile::remove(entry);
    return 0;
}
