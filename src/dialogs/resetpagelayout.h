#pragma once

#include <QString>

class QGroupBox;
class QLayout;
class QPushButton;
class QWidget;

namespace ovra {

// Lays a settings page out as its group box holding the form, with the page's
// "Restore Default Settings" button at the bottom right; returns that button.
QPushButton* layOutPageWithReset(QWidget* page, QGroupBox* group, QLayout* form,
                                 const QString& resetObjectName);

} // namespace ovra
