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
        return {};
    const QString absolute = QDir::cleanPath(info.absoluteFilePath());
    if (info.isFile() && info.isExecutable())
        return {ShellTarget::Kind::Program, absolute, {}};
    return {ShellTarget::Kind::Document, {}, QUrl::fromLocalFile(absolute)};
}

// "https:", "mailto:", "file:" ... Two letters at least, so that a lone drive
// letter from a note written on Windows is not taken for a scheme.
const QRegularExpression& schemePattern() {
    static const QRegularExpression re(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]+):"));
    return re;
}

} // namespace

ShellTarget resolveShellTarget(const QString& note, const QString& workingFolder) {
    QString text = CleanString(note);
    if (text.isEmpty())
        return {};

    if (text == u"~" || text.startsWith(QStringLiteral("~/")))
        text = QDir::homePath() + text.mid(1);

    if (const auto match = schemePattern().match(text); match.hasMatch()) {
        const QUrl url(text, QUrl::StrictMode);
        if (!url.isValid())
            return {};
        if (url.isLocalFile())
            return fromLocalPath(url.toLocalFile());
        return {ShellTarget::Kind::Address, {}, url};
    }

    const QDir base(workingFolder);
    if (text.contains(u'/'))
        return fromLocalPath(base.absoluteFilePath(text));

    if (QFileInfo::exists(base.absoluteFilePath(text)))
        return fromLocalPath(base.absoluteFilePath(text));
    if (const QString program = QStandardPaths::findExecutable(text); !program.isEmpty())
        return {ShellTarget::Kind::Program, program, {}};

    // A bare host name such as www.example.com.
    const QUrl guess = QUrl::fromUserInput(text);
    if (guess.isValid() && (guess.scheme() == u"http" || guess.scheme() == u"https") &&
        guess.host().contains(u'.'))
        return {ShellTarget::Kind::Address, {}, guess};
    return {};
}

} // namespace ovra
