#pragma once

#include <QPixmap>
#include <QRect>
#include <QString>

namespace ovra {

// One tab of the strip.
struct TabRecord {
    QString caption; // as set, with its "&" marks
    bool enabled = true;
    int accessKey = 0; // upper-case character code of the access key, 0 for none
    QPixmap picture;
    QRect rect; // pixels, filled by the layout; the hit tests read it

    static TabRecord numbered(int index);
};

// A caption taken apart: "&&" stands for a literal "&", the character after the last
// single "&" is the access key.
struct CaptionParts {
    QString text;         // what is shown
    int mnemonicPos = -1; // index in text of the underlined character, -1 for none
    int accessKey = 0;    // that character in upper case, 0 for none
};

CaptionParts parseCaption(const QString& caption);

// The shown text with only the access key marked, escaped for drawing with
// Qt::TextShowMnemonic (which would otherwise underline every single "&").
QString mnemonicMarkup(const CaptionParts& parts);

} // namespace ovra
