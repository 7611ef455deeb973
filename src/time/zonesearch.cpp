#include "time/zonesearch.h"

#include "base/textutil.h"
#include "time/zonetable.h"

#include <QTimeZone>

#include <algorithm>

namespace ovra {

namespace {

QStringList wordsOf(const QString& text) {
    QStringList words;
    QString word;
    for (const QChar c : withoutCaseOrAccents(text)) {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (!word.isEmpty()) {
            words << word;
            word.clear();
        }
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

// The row's text without its "(UTC+hh:mm) " prefix, which every row shares.
QString placeText(const ZoneEntry& row) {
    const QString name = QString::fromUtf16(row.DisplayName);
    const qsizetype close = name.indexOf(u") ");
    return close < 0 ? name : name.mid(close + 2);
}

QList<int> rowsWithEveryWord(const QStringList& query, bool wholeWords) {
    QList<int> rows;
    const auto table = zoneTable();
    for (int i = 0; i < int(table.size()); ++i) {
        const QStringList rowWords =
            wordsOf(placeText(table[i])) + wordsOf(QString::fromLatin1(table[i].IanaId));
        const bool all = std::all_of(query.begin(), query.end(), [&](const QString& q) {
            return std::any_of(rowWords.begin(), rowWords.end(), [&](const QString& w) {
                return wholeWords ? w == q : w.startsWith(q);
            });
        });
        if (all)
            rows << i;
    }
    return rows;
}

} // namespace

QList<int> findZones(const QString& words, const QDateTime& nowUtc) {
    const QString query = withoutCaseOrAccents(words.trimmed());
    if (query.isEmpty())
        return {};
    const auto table = zoneTable();
    for (int i = 0; i < int(table.size()); ++i) {
        if (query == withoutCaseOrAccents(QString::fromLatin1(table[i].IanaId)) ||
            query == withoutCaseOrAccents(QString::fromUtf16(table[i].DisplayName)) ||
            query == withoutCaseOrAccents(placeText(table[i])))
            return {i};
    }
    const QStringList queryWords = wordsOf(query);
    if (queryWords.isEmpty())
        return {};
    for (const bool wholeWords : {true, false})
        if (const QList<int> rows = rowsWithEveryWord(queryWords, wholeWords); !rows.isEmpty())
            return rows;
    if (const QByteArray id = words.trimmed().toUtf8(); QTimeZone::isTimeZoneIdAvailable(id))
        if (const int row = computerZoneIndex(QTimeZone(id), nowUtc); row >= 0)
            return {row};
    return {};
}

QString utcOffsetText(int secondsEast) {
    const int minutes = std::abs(secondsEast) / 60;
    return QStringLiteral("%1%2:%3")
        .arg(QChar(secondsEast < 0 ? u'-' : u'+'))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QStringList zoneListLines(const QDateTime& nowUtc) {
    QStringList lines;
    const auto table = zoneTable();
    for (int i = 0; i < int(table.size()); ++i) {
        const QTimeZone place = ianaZoneAt(i);
        const int offset =
            place.isValid() ? place.offsetFromUtc(nowUtc) : table[i].OffsetMinutes * 60;
        lines << QStringLiteral("%1\t%2\t%3\t%4")
                     .arg(i)
                     .arg(QString::fromUtf16(table[i].DisplayName),
                          QString::fromLatin1(table[i].IanaId), utcOffsetText(offset));
    }
    return lines;
}

} // namespace ovra
