#include "base/textutil.h"

#include <QFileInfo>

namespace ovra {

QString cleanString(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    QStringView view(text);
    if (nul >= 0)
        view = view.left(nul);
    qsizetype begin = 0;
    qsizetype end = view.size();
    while (begin < end && view[begin] == u' ')
        ++begin;
    while (end > begin && view[end - 1] == u' ')
        --end;
    return view.mid(begin, end - begin).toString();
}

bool fileExists(const QString& path) {
    const QString cleaned = cleanString(path);
    if (cleaned.isEmpty())
        return false;
    return QFileInfo::exists(cleaned);
}

QString withoutCaseOrAccents(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    return out.toCaseFolded();
}

QString withTrailingSlash(const QString& folder) {
    if (folder.endsWith(u'/'))
        return folder;
    return folder + u'/';
}

} // namespace ovra
