#pragma once

#include <QString>

class QWidget;

namespace ovra {

// A plain window that names a part of the program which is not in this build yet,
// so the clock's settings and about actions visibly do something. Deletes itself
// when closed; owned windows stay with their owner.
QWidget* openPlaceholderWindow(const QString& title, const QString& text, QWidget* owner);

} // namespace ovra
