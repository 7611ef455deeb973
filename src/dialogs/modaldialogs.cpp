#include "dialogs/modaldialogs.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

namespace ovra {

void closeModalDialogs() {
    QPointer<QWidget> previous;
    while (QWidget* modal = QApplication::activeModalWidget()) {
        // A window that stays modal after being closed would loop here for ever.
        if (modal == previous)
            break;
        previous = modal;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
    }
}

} // namespace ovra
