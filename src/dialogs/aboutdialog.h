#pragma once

#include <QDialog>
#include <QUrl>

#include <array>

class QLabel;
class QPushButton;

namespace ovra {

class LinkLabel;
class LinkOpener;

inline const QString kWebsiteAddress = QStringLiteral("https://www.tamrel.example/ovra-clock/");
inline const QString kSupportAddress = QStringLiteral("support@tamrel.example");

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// The version this program was built as.
ProgramVersion programVersion();

// The first line of the about text: "Ovra Clock 2.5.7".
QString aboutHeadline(const ProgramVersion& version);

// A new message to the support address with the subject "Help".
QUrl supportMailUrl();

// "About Ovra Clock": product picture, version and notice, and two links (web site,
// support mail) that open through the desktop. Modeless; callers usually set
// Qt::WA_DeleteOnClose.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(LinkOpener& opener, QWidget* parent = nullptr,
                         const ProgramVersion& version = programVersion());

    QLabel* picture() const { return m_image; }
    QLabel* aboutLabel() const { return m_labAbout; }
    // 0: web site, 1: support mail.
    LinkLabel* homeLink(int index) const { return m_labHome.at(size_t(index)); }
    QPushButton* okButton() const { return m_ok; }

protected:
    // The pointer over the background: neither link is under it any more.
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    LinkOpener& m_opener;
    QLabel* m_image;
    QLabel* m_labAbout;
    std::array<LinkLabel*, 2> m_labHome{};
    QPushButton* m_ok;
};

} // namespace ovra
