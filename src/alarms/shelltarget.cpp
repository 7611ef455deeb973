#include "alarms/shelltarget.h"

#include "base/textutil.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace ovra {

namespace {

ShellTarget fromLocalPath(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return {ShellTarget::Kind::NotFound, {}, {}};
    const QString absolute = QDir::cleanPath(info.absoluteFilePath());
    if (info.isFile() && info.isExecutable())
        return {ShellTarget::Kind::Program, absolute, {}};
    return {ShellTarget::Kind::Document, {}, QUrl::fromLocalFile(absolute)};
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
    QString text = CleanString(note);
    if (text.isEmpty())
        return {};
    const ShellTarget notFound{ShellTarget::Kind::NotFound, {}, {}};

    if (text == u"~" || text.startsWith(QStringLiteral("~/")))
        text = QDir::homePath() + text.mid(1);

    if (const auto match = schemePattern().match(text); match.hasMatch()) {
        const QUrl url(text, QUrl::StrictMode);
        if (!url.isValid())
            return notFound;
        if (url.isLocalFile())
            return fromLocalPath(url.toLocalFile());
        return {ShellTarget::Kind::Address, {}, url};
    }

    if (QDir::isAbsolutePath(text))
        return fromLocalPath(text);
    if (text.contains(u'/'))
        return notFound;

    if (const QString program = programOnPath(text); !program.isEmpty())
        return {ShellTarget::Kind::Program, program, {}};

    // A bare host name such as www.example.com.
    const QUrl guess = QUrl::fromUserInput(text);
    if (guess.isValid() && (guess.scheme() == u"http" || guess.scheme() == u"https") &&
        guess.host().contains(u'.'))
        return {ShellTarget::Kind::Address, {}, guess};
    return notFound;
}

} // namespace ovra
