#include "alarms/shelltarget.h"

#include "base/regularfile.h"
#include "base/textutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace ovra {

namespace {

ShellTarget refused(const QString& why) {
    return {ShellTarget::Kind::Refused, {}, {}, why};
}

// What the system would run: a binary or a script with its interpreter line. A
// document that someone marked executable (a report on a shared drive, an
// attachment saved by a careless program) is neither, and is opened instead.
bool isProgramFile(const QString& path) {
    static constexpr char kElf[] = {'\x7f', 'E', 'L', 'F'};
    QFile file;
    if (!openRegularFileForReading(file, path))
        return false;
    const QByteArray head = file.read(4);
    return head.startsWith("#!") || head == QByteArrayView(kElf, 4);
}

// Why a program would run code that someone else chose, or empty. The program and
// every folder above it must belong to this user or root, and nobody else may
// write them: whoever may write a folder may put another program in the
// program's place. A sticky folder such as /tmp keeps others from replacing what
// is not theirs.
QString untrustedProgram(const QString& canonicalPath) {
    const uid_t me = ::geteuid();
    const auto ownedHere = [me](const struct stat& st) {
        return st.st_uid == me || st.st_uid == 0;
    };
    struct stat st {};
    if (::stat(QFile::encodeName(canonicalPath).constData(), &st) != 0)
        return QCoreApplication::translate("ovra::ShellTarget", "it cannot be looked at");
    if (!ownedHere(st))
        return QCoreApplication::translate("ovra::ShellTarget", "it is a program of another user");
    if (othersMayWrite(st.st_mode, st.st_gid))
        return QCoreApplication::translate("ovra::ShellTarget", "other users may change it");
    for (QString folder = QFileInfo(canonicalPath).path();; folder = QFileInfo(folder).path()) {
        if (::stat(QFile::encodeName(folder).constData(), &st) != 0)
            //: %1 is a folder.
            return QCoreApplication::translate("ovra::ShellTarget",
                                               "its folder %1 cannot be looked at")
                .arg(folder);
        if (!ownedHere(st))
            //: %1 is a folder.
            return QCoreApplication::translate("ovra::ShellTarget",
                                               "its folder %1 belongs to another user")
                .arg(folder);
        if (othersMayWrite(st.st_mode, st.st_gid) && !(st.st_mode & S_ISVTX))
            //: %1 is a folder.
            return QCoreApplication::translate("ovra::ShellTarget",
                                               "other users may change its folder %1")
                .arg(folder);
        if (folder == u"/")
            return {};
    }
}

ShellTarget fromLocalPath(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return {ShellTarget::Kind::NotFound, {}, {}, {}};
    const QString absolute = QDir::cleanPath(info.absoluteFilePath());
    if (!info.isFile() || !info.isExecutable() || !isProgramFile(absolute))
        return {ShellTarget::Kind::Document, {}, QUrl::fromLocalFile(absolute), {}};
    // The program runs by the name it was given (a program may act on the name it
    // was called by), so the folders on the way there count as much as those of
    // the file a link leads to: a link in a folder others may change can be
    // pointed elsewhere.
    for (const QString& way : {absolute, info.canonicalFilePath()})
        if (const QString why = untrustedProgram(way); !why.isEmpty())
            return refused(why);
    return {ShellTarget::Kind::Program, absolute, {}, {}};
}

// A program by name, in PATH's absolute folders only: an empty or relative entry
// (".", "bin") would be the working folder again.
QString programOnPath(const QString& name) {
    QStringList folders;
    for (const QString& folder : qEnvironmentVariable("PATH").split(u':'))
        if (QDir::isAbsolutePath(folder))
            folders << folder;
    return folders.isEmpty() ? QString() : QStandardPaths::findExecutable(name, folders);
}

// "https:", "mailto:", "file:" ... Two letters at least, so that a lone drive
// letter from a note written on Windows is not taken for a scheme.
const QRegularExpression& schemePattern() {
    static const QRegularExpression re(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]+):"));
    return re;
}

} // namespace

ShellTarget resolveShellTarget(const QString& note) {
    QString text = cleanString(note);
    if (text.isEmpty())
        return {};
    const ShellTarget notFound{ShellTarget::Kind::NotFound, {}, {}, {}};

    if (text == u"~" || text.startsWith(QStringLiteral("~/")))
        text = QDir::homePath() + text.mid(1);

    if (const auto match = schemePattern().match(text); match.hasMatch()) {
        // As typed: a space in a subject line or a folder name is percent-encoded
        // rather than refused.
        const QUrl url(text, QUrl::TolerantMode);
        if (!url.isValid())
            return notFound;
        if (url.isLocalFile()) {
            // "file:agenda" would be a file of the working folder, whatever that is.
            const QString path = url.toLocalFile();
            if (!QDir::isAbsolutePath(path) || path.startsWith(QStringLiteral("//")))
                return refused(QCoreApplication::translate(
                    "ovra::ShellTarget", "a file: address needs the file's absolute path"));
            return fromLocalPath(path);
        }
        return {ShellTarget::Kind::Address, {}, url, {}};
    }

    if (QDir::isAbsolutePath(text))
        return fromLocalPath(text);
    if (text.contains(u'/'))
        return notFound;

    if (const QString program = programOnPath(text); !program.isEmpty())
        return {ShellTarget::Kind::Program, program, {}, {}};

    // A bare host name such as www.example.com.
    const QUrl guess = QUrl::fromUserInput(text);
    if (guess.isValid() && (guess.scheme() == u"http" || guess.scheme() == u"https") &&
        guess.host().contains(u'.'))
        return {ShellTarget::Kind::Address, {}, guess, {}};
    return notFound;
}

} // namespace ovra
