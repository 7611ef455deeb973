#include "dialogs/fieldlabel.h"

#include <QLabel>
#include <QWidget>

namespace ovra {

QString spokenCaption(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i; // the mark goes; of "&&" one "&" stays
        out += caption[i];
    }
    out = out.trimmed();
    if (out.endsWith(u':'))
        out.chop(1);
    return out.trimmed();
}

QLabel* fieldLabel(const QString& text, QWidget* field) {
    auto* label = new QLabel(text, field ? field->parentWidget() : nullptr);
    labelField(label, field);
    return label;
}

void labelField(QLabel* label, QWidget* field) {
    label->setBuddy(field);
    if (field)
        field->setAccessibleName(spokenCaption(label->text()));
}

} // namespace ovra
