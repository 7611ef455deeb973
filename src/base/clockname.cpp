#include "base/clockname.h"

#include "base/textutil.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <algorithm>

namespace ovra {

namespace {
// U+FDD0..U+FDEF and the last two code points of every plane are reserved for a
// program's internal use; text from elsewhere that holds them is not a name.
bool isNonCharacter(char32_t u) {
    return (u >= 0xfdd0 && u <= 0xfdef) || (u & 0xfffe) == 0xfffe;
}

// A name of spaces and fillers lists as an empty line and cannot be told apart
// from another such name.
bool looksBlank(const QString& name) {
    const QList<uint> codes = name.toUcs4();
    return std::all_of(codes.cbegin(), codes.cend(), [](uint u) {
        return QChar::isSpace(u) || QChar::category(u) == QChar::Separator_Space || u == 0x115f ||
               u == 0x1160 || u == 0x3164 || u == 0xffa0 || u == 0x2800;
    });
}
} // namespace

QString clockNameFromArguments(const QStringList& args) {
    const QString name = cleanString(args.join(u' '));
    return name.isEmpty() ? kDefaultClockName : name;
}

QStringList clockArguments(const QString& name) {
    if (name.startsWith(u'-'))
        return {QStringLiteral("--"), name};
    return {name};
}

QString clockNameProblem(const QString& name) {
    const QString quoted = u'"' + name + u'"';
    if (name.isEmpty())
        return QCoreApplication::translate("ClockName", "A clock name cannot be empty.");
    if (name.toUtf8().size() > kMaxClockNameBytes)
        return QCoreApplication::translate(
                   "ClockName", "The clock name is too long: at most %1 bytes are allowed.")
            .arg(kMaxClockNameBytes);
    for (const char32_t u : name.toUcs4()) {
        if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0) ||
            QChar::category(u) == QChar::Other_Format || u == 0x2028 || u == 0x2029)
            return QCoreApplication::translate("ClockName",
                                               "A clock name cannot contain control characters.");
        if (u == 0xfffd)
            return QCoreApplication::translate(
                       "ClockName", "The clock name %1 contains bytes that are not valid text.")
                .arg(quoted);
        if (isNonCharacter(u))
            return QCoreApplication::translate(
                       "ClockName", "The clock name %1 contains U+%2, which is not a character.")
                .arg(quoted, QString::number(uint(u), 16).toUpper());
        if (u == u'/' || u == u'\\')
            return QCoreApplication::translate("ClockName",
                                               "The clock name %1 cannot contain \"/\" or \"\\\".")
                .arg(quoted);
        if (u == u'{' || u == u'}')
            return QCoreApplication::translate("ClockName",
                                               "The clock name %1 cannot contain \"{\" or \"}\".")
                .arg(quoted);
    }
    if (looksBlank(name))
        return QCoreApplication::translate(
            "ClockName", "A clock name must contain a visible character, not only spaces.");
    if (name == u"." || name == u"..")
        return QCoreApplication::translate("ClockName", "The clock name %1 is reserved.")
            .arg(quoted);
    if (name == u"System")
        return QCoreApplication::translate(
            "ClockName", "The clock name \"System\" is reserved for the clock list.");
    if (name.startsWith(u"--"))
        return QCoreApplication::translate("ClockName",
                                           "The clock name %1 cannot begin with \"--\".")
            .arg(quoted);
    return {};
}

QString clockNameBytesProblem(const QByteArray& utf8) {
    auto decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(utf8);
    if (decoder.hasError())
        return QCoreApplication::translate(
            "ClockName", "The clock name contains bytes that are not valid UTF-8 text.");
    return clockNameProblem(cleanString(text));
}

QString shownClockName(const QString& name) {
    //: The name of the first clock, as windows and lists show it; it is stored in English.
    return name == kDefaultClockName ? QCoreApplication::translate("ClockName", "Default") : name;
}

} // namespace ovra
