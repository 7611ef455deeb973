#include "dialogs/aboutdialog.h"
#include "dialogs/linklabel.h"
#include "dialogs/linkopener.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QUrlQuery>
#include <gtest/gtest.h>

namespace ovra {
namespace {

class RecordingOpener final : public LinkOpener {
public:
    void openLink(const QUrl& url) override { opened.push_back(url); }
    std::vector<QUrl> opened;
};

TEST(aboutHeadline, IsTheNameAndMajorMinorRevision) {
    EXPECT_EQ(aboutHeadline({2, 5, 7}), QStringLiteral("Ovra Clock 2.5.7"));
    EXPECT_EQ(aboutHeadline({10, 12, 345}), QStringLiteral("Ovra Clock 10.12.345"));
}

TEST(AboutDialog, FirstLineNamesTheBuiltVersion) {
    RecordingOpener opener;
    AboutDialog about(opener);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Ovra Clock"));
    EXPECT_EQ(aboutHeadline(programVersion()), QStringLiteral("Ovra Clock " OVRA_VERSION));
    EXPECT_EQ(about.aboutLabel()->text().section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("Ovra Clock " OVRA_VERSION));
}

TEST(AboutDialog, ShowsTheProductPicture) {
    RecordingOpener opener;
    AboutDialog about(opener);
    const QPixmap picture = about.picture()->pixmap();
    ASSERT_FALSE(picture.isNull());
    EXPECT_GE(picture.width(), 64);
    // A round picture: transparent corners, a solid dial in the middle.
    const QImage image = picture.toImage();
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_GT(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 200);
}

TEST(AboutDialog, LinksOpenTheWebSiteAndAHelpMail) {
    RecordingOpener opener;
    AboutDialog about(opener);
    about.show();
    LinkLabel* web = about.homeLink(0);
    LinkLabel* mail = about.homeLink(1);
    EXPECT_EQ(web->text(), QStringLiteral("Website: ") + kWebsiteAddress);
    EXPECT_EQ(mail->text(), QStringLiteral("Support: ") + kSupportAddress);
    for (LinkLabel* link : {web, mail})
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(web, Qt::LeftButton);
    QTest::mouseClick(mail, Qt::LeftButton);
    ASSERT_EQ(opener.opened.size(), 2u);
    EXPECT_EQ(opener.opened[0], QUrl(kWebsiteAddress));
    const QUrl m = opener.opened[1];
    EXPECT_EQ(m.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(m.path(), kSupportAddress);
    EXPECT_EQ(QUrlQuery(m).queryItemValue(QStringLiteral("subject")), QStringLiteral("Help"));
}

TEST(AboutDialog, LinksWorkFromTheKeyboardAndNotOnADragAway) {
    RecordingOpener opener;
    AboutDialog about(opener);
    about.show();
    LinkLabel* mail = about.homeLink(1);

    // Press on the link, release elsewhere: no click.
    QTest::mousePress(mail, Qt::LeftButton);
    QTest::mouseRelease(mail, Qt::LeftButton, {}, QPoint(-10, -10));
    EXPECT_TRUE(opener.opened.empty());

    mail->setFocus();
    QTest::keyClick(mail, Qt::Key_Return);
    QTest::keyClick(mail, Qt::Key_Space);
    ASSERT_EQ(opener.opened.size(), 2u);
    EXPECT_EQ(opener.opened[1].scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(about.isVisible()); // Return on a link opens it, it does not press OK

    QTest::mouseClick(about.okButton(), Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(opener.opened.size(), 2u);
}

TEST(AboutDialog, UnderlineFollowsThePointer) {
    RecordingOpener opener;
    AboutDialog about(opener);
    about.show();
    about.okButton()->setFocus();
    LinkLabel* web = about.homeLink(0);
    LinkLabel* mail = about.homeLink(1);
    ASSERT_FALSE(web->underlined());
    ASSERT_FALSE(mail->underlined());

    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(web, &enter);
    EXPECT_TRUE(web->underlined());
    EXPECT_FALSE(mail->underlined());
    QCoreApplication::sendEvent(mail, &enter);
    EXPECT_TRUE(mail->underlined());

    // Over the background of the box, neither link is underlined.
    QTest::mouseMove(&about, QPoint(about.width() - 2, about.height() - 2));
    EXPECT_FALSE(web->underlined());
    EXPECT_FALSE(mail->underlined());

    // Leaving a link directly for another window takes its underline too.
    QCoreApplication::sendEvent(web, &enter);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(web, &leave);
    EXPECT_FALSE(web->underlined());
}

} // namespace
} // namespace ovra
