#pragma once

#include <QString>
#include <QUrl>

#include <functional>

namespace ovra {

// What an "execute" alarm's note names, decided before anything is started. The
// whole note is one target: it never carries arguments and never reaches a shell.
struct ShellTarget {
    enum class Kind {
        Nothing,  // an empty note: the alarm does nothing
        NotFound, // names no file, program or address: the alarm says so
        Refused,  // names something the clock will not open or run: why says why
        Program,  // a program of this user or the system, started directly
        Document, // an existing file or folder, opened with its associated program
        Address,  // a web (or other scheme) address, opened by the desktop
    };
    Kind kind = Kind::Nothing;
    QString program;  // Program: the executable's absolute path
    QUrl url;         // Document and Address
    QString why = {}; // Refused: a short translated reason

    friend bool operator==(const ShellTarget&, const ShellTarget&) = default;
};

// Resolves the note of an alarm: an absolute path (or one starting with "~/"), a
// file: URL with an absolute path, an address with a scheme such as https: or
// mailto: (spaces and other characters an address cannot hold are percent-encoded),
// a program name found in an absolute folder of PATH, or a bare host such as
// "www.example.com". A relative path is never looked up in the working folder: a
// clock started in a folder others can write (/tmp, downloads) would run whatever
// they put there. A file named by its path runs only when it is a program (a binary
// or a script) that only this user or root can change; any other file is a
// document, whatever its mode, and an untrusted program is refused.
ShellTarget resolveShellTarget(const QString& note);

// Starts or opens a resolved target; failed, when given, hears once why it could
// not (perhaps later, from the event loop).
class ShellOpen {
public:
    using Failed = std::function<void(const QString& why)>;
    virtual ~ShellOpen() = default;
    virtual void open(const ShellTarget& target, Failed failed = {}) = 0;
};

} // namespace ovra
