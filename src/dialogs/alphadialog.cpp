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
    : QDialog(parent), m_colourAlpha(std::clamp(colourAlpha, 0, 255)), m_labValue(new QLabel(this)),
      m_hsValue(new QScrollBar(Qt::Horizontal, this)), m_cmdOK(new QPushButton(tr("&OK"), this)) {
    setWindowTitle(tr("Set Color Alpha Value"));
    setObjectName(QStringLiteral("FrmAlpha"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (alwaysOnTop)
        setWindowFlag(Qt::WindowStaysOnTopHint, true);

    m_labValue->setObjectName(QStringLiteral("LabValue"));
    m_hsValue->setObjectName(QStringLiteral("HSValue"));
    m_cmdOK->setObjectName(QStringLiteral("CmdOK"));
    m_hsValue->setRange(0, 255);
    m_hsValue->setSingleStep(1);
    m_hsValue->setPageStep(16);
    m_hsValue->setFocusPolicy(Qt::StrongFocus); // arrows and Page keys move it
    // Scroll bars invert their keys by default; here Left must mean more transparent.
    m_hsValue->setInvertedControls(false);
    m_hsValue->setMinimumWidth(260);
    // The bar is named by its label without the number, which the bar itself tells.
    m_hsValue->setAccessibleName(spokenCaption(tr("Alpha Value: %1").arg(QString())));
    m_cmdOK->setDefault(true);

    auto* transparent = new QLabel(tr("Transparent"), this);
    transparent->setObjectName(QStringLiteral("Label1"));
    auto* opaque = new QLabel(tr("Opaque"), this);
    opaque->setObjectName(QStringLiteral("Label2"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_labValue, 0, 0, 1, 2);
    grid->addWidget(m_hsValue, 1, 0, 1, 2);
    grid->addWidget(transparent, 2, 0, Qt::AlignLeft);
    grid->addWidget(opaque, 2, 1, Qt::AlignRight);
    grid->addWidget(m_cmdOK, 3, 1, Qt::AlignRight);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    // valueChanged fires while the thumb is dragged too, so the label follows it.
    connect(m_hsValue, &QScrollBar::valueChanged, this, &AlphaDialog::showValue);
    connect(m_cmdOK, &QPushButton::clicked, this, &AlphaDialog::acceptValue);

    m_hsValue->setValue(m_colourAlpha);
    showValue(m_colourAlpha);
    m_hsValue->setFocus();
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
    m_labValue->setText(tr("Alpha Value: %1").arg(value));
}

void AlphaDialog::acceptValue() {
    m_colourAlpha = m_hsValue->value();
    accept();
}

} // namespace ovra
