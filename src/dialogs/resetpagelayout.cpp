#include "dialogs/resetpagelayout.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace ovra {

QPushButton* layOutPageWithReset(QWidget* page, QGroupBox* group, QLayout* form,
                                 const QString& resetObjectName) {
    auto* reset = new QPushButton(
        QCoreApplication::translate("ovra::SettingsDialog", "&Restore Default Settings"), group);
    reset->setObjectName(resetObjectName);
    reset->setAutoDefault(false);
    auto* resetRow = new QHBoxLayout;
    resetRow->addStretch(1);
    resetRow->addWidget(reset);

    auto* inner = new QVBoxLayout(group);
    inner->addLayout(form);
    inner->addStretch(1);
    inner->addLayout(resetRow);
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(group);
    return reset;
}

} // namespace ovra
