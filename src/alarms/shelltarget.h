#pragma once

#include <QString>
#include <QUrl>

namespace ovra {

// What an "execute" alarm's note names, decided before anything is started. The
// whole note is one target: it never carries arguments and never reaches a shell.
struct ShellTarget {
    enum class Kind {
        Nothing,  // empty, or a file that does not exist: the alarm does nothing
        Program,  // an executable file, started directly
        Document, // an existing file or folder, opened with its associated program
        Address,  // a web (or other scheme) address, opened by the desktop
    };
    Kind kind = Kind::Nothing;
    QString program; // Program: the executable's absolute path
    QUrl url;        // Document and Address

    friend bool operator==(const ShellTarget&, const ShellTarget&) = default;
};

// Resolves the note of an alarm: a path (absolute, relative to workingFolder, or
// starting with "~/"), a file: URL, an address with a scheme such as https: or
// mailto:, a program name found on PATH, or a bare host such as
// "www.example.com". A path that names nothing resolves to Nothing, so a missing
// file is passed over silently.
ShellTarget resolveShellTarget(const QString& note, const QString& workingFolder);

// Starts or opens a resolved target.
class ShellOpen {
public:
    virtual ~ShellOpen() = default;
    virtual void open(const ShellTarget& target) = 0;
};

} // namespace ovra
