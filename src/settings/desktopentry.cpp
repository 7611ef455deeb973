#include "settings/desktopentry.h"

#include "base/regularfile.h"

#include <QFile>

namespace ovra {

namespace {
bool needsQuotes(const QString& arg) {
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    if (arg.isEmpty())
        return true;
    return std::any_of(arg.cbegin(), arg.cend(), [](QChar c) { return reserved.contains(c); });
}

// Keys and values are separated from the "=" and the line's ends by spaces and
// tabs (and the CR of a file written on Windows). Any other white space is part of
// the value: a clock's name may end in a no-break space.
QStringView trimBlanks(QStringView s) {
    const auto blank = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\r';
    };
    while (!s.isEmpty() && blank(s.front()))
        s = s.mid(1);
    while (!s.isEmpty() && blank(s.back()))
        s.chop(1);
    return s;
}

QString quoteArgument(const QString& arg) {
    if (!needsQuotes(arg))
        return arg;
    QString quoted = QStringLiteral("\"");
    for (const QChar c : arg) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    return quoted + u'"';
}
} // namespace

QString desktopExecLine(const QStringList& argv) {
    QStringList parts;
    parts.reserve(argv.size());
    for (const QString& arg : argv)
        parts << quoteArgument(arg).replace(u'%', QStringLiteral("%%"));
    return parts.join(u' ');
}

QString escapeDesktopValue(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString unescapeDesktopValue(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != u'\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i].unicode()) {
        case u's':
            out += u' ';
            break;
        case u'n':
            out += u'\n';
            break;
        case u't':
            out += u'\t';
            break;
        case u'r':
            out += u'\r';
            break;
        case u'\\':
            out += u'\\';
            break;
        default: // not an escape: keep both characters
            out += u'\\';
            out += value[i];
        }
    }
    return out;
}

std::optional<QString> readDesktopEntryKey(const QString& filePath, const QString& key) {
    // Opened without blocking: a FIFO in the entry's place would hang the shutdown.
    QFile file;
    if (!openRegularFileForReading(file, filePath))
        return std::nullopt;
    bool inEntryGroup = false;
    // Entry files are small; anything huge is not one of ours.
    const QByteArray content = file.read(64 * 1024);
    for (const QByteArray& rawLine : content.split('\n')) {
        const QString text = QString::fromUtf8(rawLine);
        const QStringView line = trimBlanks(text);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inEntryGroup = line == u"[Desktop Entry]";
            continue;
        }
        if (!inEntryGroup)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || trimBlanks(line.left(eq)) != key)
            continue;
        return unescapeDesktopValue(trimBlanks(line.mid(eq + 1)).toString());
    }
    return std::nullopt;
}

} // namespace ovra
