#include "app/guimessagesink.h"

#include <QMessageBox>

namespace ovra {

void GuiMessageSink::showMessage(const QString& text, const QString& title, MessageIcon icon) {
    QMessageBox box;
    box.setWindowTitle(translatedMessage(title));
    box.setText(translatedMessage(text));
    switch (icon) {
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

} // namespace ovra
