#include "widgets/filefilter.h"

#include <QStringList>

namespace ovra {

QString toQtFileFilter(const QString& filter) {
    if (!filter.contains(u'|'))
        return filter;
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            const QString p = pattern.trimmed();
            if (!p.isEmpty())
                patterns.append(p == QStringLiteral("*.*") ? QStringLiteral("*") : p);
        }
        if (patterns.isEmpty())
            continue;
        const QString name = description.isEmpty() ? patterns.join(u' ') : description;
        entries.append(name + QStringLiteral(" (") + patterns.join(u' ') + u')');
    }
    return entries.join(QStringLiteral(";;"));
}

} // namespace ovra
