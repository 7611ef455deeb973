#include "clock/placeholderwindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace ovra {

QWidget* openPlaceholderWindow(const QString& title, const QString& text, QWidget* owner) {
    auto* window = new QWidget(owner, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(title);
    auto* layout = new QVBoxLayout(window);
    auto* label = new QLabel(text, window);
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, window);
    QObject::connect(buttons, &QDialogButtonBox::rejected, window, &QWidget::close);
    layout->addWidget(buttons);
    window->resize(360, 120);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace ovra
