#include "dialogs/aboutdialog.h"

#include "dialogs/linklabel.h"
#include "dialogs/linkopener.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QUrlQuery>
#include <QVersionNumber>

namespace ovra {

ProgramVersion programVersion() {
    const QVersionNumber v = QVersionNumber::fromString(QStringLiteral(OVRA_VERSION));
    return {v.segmentAt(0), v.segmentAt(1), v.segmentAt(2)};
}

QString aboutHeadline(const ProgramVersion& version) {
    return QStringLiteral("Ovra Clock %1.%2.%3")
        .arg(version.major)
        .arg(version.minor)
        .arg(version.revision);
}

QUrl supportMailUrl() {
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(kSupportAddress);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Help"));
    url.setQuery(query);
    return url;
}

AboutDialog::AboutDialog(LinkOpener& opener, QWidget* parent, const ProgramVersion& version)
    : QDialog(parent), m_opener(opener), m_image(new QLabel(this)), m_labAbout(new QLabel(this)),
      m_ok(new QPushButton(tr("&OK"), this)) {
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(tr("About Ovra Clock"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setMouseTracking(true);

    m_image->setObjectName(QStringLiteral("Image3"));
    m_image->setPixmap(QPixmap(QStringLiteral(":/dialogs/about.png")));
    m_image->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    m_image->setMouseTracking(true);

    m_labAbout->setObjectName(QStringLiteral("LabAbout"));
    m_labAbout->setTextFormat(Qt::PlainText);
    m_labAbout->setMouseTracking(true);
    m_labAbout->setText(aboutHeadline(version) + QLatin1Char('\n') +
                        tr("A round, transparent desktop clock.") + QStringLiteral("\n\n") +
                        tr("Copyright \u00A9 Tamrel. All rights reserved.") + QLatin1Char('\n') +
                        tr("This program is provided as is, without warranty of any kind."));

    m_labHome[0] = new LinkLabel(tr("Website: %1").arg(kWebsiteAddress), this);
    m_labHome[1] = new LinkLabel(tr("Support: %1").arg(kSupportAddress), this);
    for (LinkLabel* link : m_labHome)
        link->setObjectName(QStringLiteral("LabHome"));
    connect(m_labHome[0], &LinkLabel::activated, this,
            [this] { m_opener.openLink(QUrl(kWebsiteAddress)); });
    connect(m_labHome[1], &LinkLabel::activated, this,
            [this] { m_opener.openLink(supportMailUrl()); });

    m_ok->setObjectName(QStringLiteral("Command1"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(16);
    grid->addWidget(m_image, 0, 0, 4, 1);
    grid->addWidget(m_labAbout, 0, 1);
    grid->addWidget(m_labHome[0], 1, 1);
    grid->addWidget(m_labHome[1], 2, 1);
    grid->addWidget(m_ok, 4, 0, 1, 2, Qt::AlignRight);
    grid->setRowStretch(3, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    m_ok->setFocus();
}

void AboutDialog::mouseMoveEvent(QMouseEvent* event) {
    for (LinkLabel* link : m_labHome)
        link->clearHover();
    QDialog::mouseMoveEvent(event);
}

} // namespace ovra
