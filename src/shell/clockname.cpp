#include "shell/clockname.h"

#include "shell/textutil.h"

#include <QStringDecoder>

namespace ovra {

QString clockNameFromArguments(const QStringList& args) {
    const QString name = CleanString(args.join(u' '));
    return name.isEmpty() ? kDefaultClockName : name;
}

QString clockNameProblem(const QString& name) {
    const QString quoted = u'"' + name + u'"';
    if (name.isEmpty())
        return QStringLiteral("A clock name cannot be empty.");
    if (name.toUtf8().size() > kMaxClockNameBytes)
        return QStringLiteral("The clock name is too long: at most %1 bytes are allowed.")
            .arg(kMaxClockNameBytes);
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0) ||
            c.category() == QChar::Other_Format || u == 0x2028 || u == 0x2029)
            return QStringLiteral("A clock name cannot contain control characters.");
        if (u == 0xfffd)
            return QStringLiteral("The clock name %1 contains bytes that are not valid text.")
                .arg(quoted);
        if (u == u'/' || u == u'\\')
            return QStringLiteral("The clock name %1 cannot contain \"/\" or \"\\\".").arg(quoted);
        if (u == u'{' || u == u'}')
            return QStringLiteral("The clock name %1 cannot contain \"{\" or \"}\".").arg(quoted);
    }
    if (name == u"." || name == u"..")
        return QStringLiteral("The clock name %1 is reserved.").arg(quoted);
    if (name == u"System")
        return QStringLiteral("The clock name \"System\" is reserved for the clock list.");
    if (name.startsWith(u"--"))
        return QStringLiteral("The clock name %1 cannot begin with \"--\".").arg(quoted);
    return {};
}

QString clockNameBytesProblem(const QByteArray& utf8) {
    auto decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(utf8);
    if (decoder.hasError())
        return QStringLiteral("The clock name contains bytes that are not valid UTF-8 text.");
    return clockNameProblem(CleanString(text));
}

} // namespace ovra
