#include "widgets/tabrecord.h"

namespace ovra {

TabRecord TabRecord::numbered(int index) {
    TabRecord record;
    record.caption = QStringLiteral("Tab ") + QString::number(index);
    return record;
}

CaptionParts parseCaption(const QString& caption) {
    CaptionParts parts;
    parts.text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption.at(i);
        if (c != u'&') {
            parts.text.append(c);
            continue;
        }
        if (i + 1 >= caption.size())
            break; // a lone "&" at the end marks nothing and is not shown
        const QChar next = caption.at(i + 1);
        ++i;
        if (next == u'&') {
            parts.text.append(next);
            continue;
        }
        parts.mnemonicPos = int(parts.text.size());
        parts.text.append(next);
    }
    if (parts.mnemonicPos >= 0) {
        const QChar key = parts.text.at(parts.mnemonicPos);
        // A blank cannot be typed as an access key (Alt+Space opens the window menu).
        if (key.isSpace())
            parts.mnemonicPos = -1;
        else
            parts.accessKey = key.toUpper().unicode();
    }
    return parts;
}

QString mnemonicMarkup(const CaptionParts& parts) {
    QString out;
    out.reserve(parts.text.size() + 4);
    for (qsizetype i = 0; i < parts.text.size(); ++i) {
        if (i == parts.mnemonicPos)
            out.append(u'&');
        const QChar c = parts.text.at(i);
        out.append(c);
        if (c == u'&')
            out.append(u'&');
    }
    return out;
}

} // namespace ovra
