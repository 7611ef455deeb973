#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace ovra {

// A caption as a screen reader should speak it: without the access-key mark (a
// doubled "&" stays one "&"), the blanks around it and a closing colon.
QString spokenCaption(const QString& caption);

// A new label with `text` whose buddy is `field`: the label's access key moves the
// focus to the field, and the field takes the label's spoken caption as its
// accessible name. A field inside a composite widget still gets its name, which
// Qt would only find for a label beside it.
QLabel* fieldLabel(const QString& text, QWidget* field);

// Points an existing label at `field`, as fieldLabel does.
void labelField(QLabel* label, QWidget* field);

} // namespace ovra
