#include "dialogs/alphadialog.h"

#include "dialogs/fieldlabel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace ovra {

AlphaDialog::AlphaDialog(int colourAlpha, bool alwaysOnTop, QWidget* parent)
    : QDialog(parent), m_colourAlpha(std::clamp(colourAlpha, 0, 255)),
      m_valueLabel(new QLabel(this)), m_valueBar(new QScrollBar(Qt::Horizontal, this)),
      m_okButton(new QPushButton(tr("&OK"), this)) {
    setWindowTitle(tr("Set Color Alpha Value"));
    setObjectName(QStringLiteral("alphaDialog"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (alwaysOnTop)
        setWindowFlag(Qt::WindowStaysOnTopHint, true);

    m_valueLabel->setObjectName(QStringLiteral("valueLabel"));
    m_valueBar->setObjectName(QStringLiteral("valueBar"));
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_valueBar->setRange(0, 255);
    m_valueBar->setSingleStep(1);
    m_valueBar->setPageStep(16);
    m_valueBar->setFocusPolicy(Qt::StrongFocus); // arrows and Page keys move it
    // Scroll bars invert their keys by default; here Left must mean more transparent.
    m_valueBar->setInvertedControls(false);
    m_valueBar->setMinimumWidth(260);
    // The bar is named by its label without the number, which the bar itself tells.
    m_valueBar->setAccessibleName(spokenCaption(tr("Alpha Value: %1").arg(QString())));
    m_okButton->setDefault(true);

    auto* transparent = new QLabel(tr("Transparent"), this);
    transparent->setObjectName(QStringLiteral("transparentLabel"));
    auto* opaque = new QLabel(tr("Opaque"), this);
    opaque->setObjectName(QStringLiteral("opaqueLabel"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_valueLabel, 0, 0, 1, 2);
    grid->addWidget(m_valueBar, 1, 0, 1, 2);
    grid->addWidget(transparent, 2, 0, Qt::AlignLeft);
    grid->addWidget(opaque, 2, 1, Qt::AlignRight);
    grid->addWidget(m_okButton, 3, 1, Qt::AlignRight);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    // valueChanged fires while the thumb is dragged too, so the label follows it.
    connect(m_valueBar, &QScrollBar::valueChanged, this, &AlphaDialog::showValue);
    connect(m_okButton, &QPushButton::clicked, this, &AlphaDialog::acceptValue);

    m_valueBar->setValue(m_colourAlpha);
    showValue(m_colourAlpha);
    m_valueBar->setFocus();
}

int AlphaDialog::ask(QWidget* parent, int colourAlpha, bool alwaysOnTop) {
    // On the heap, for a parent that is deleted while the dialog runs.
    const QPointer<AlphaDialog> dialog = new AlphaDialog(colourAlpha, alwaysOnTop, parent);
    dialog->exec();
    if (!dialog)
        return colourAlpha;
    const int alpha = dialog->colourAlpha();
    delete dialog.data();
    return alpha;
}

void AlphaDialog::showValue(int value) {
    m_valueLabel->setText(tr("Alpha Value: %1").arg(value));
}

void AlphaDialog::acceptValue() {
    m_colourAlpha = m_valueBar->value();
    accept();
}

} // namespace ovra
