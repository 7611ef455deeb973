#include "tabstripfixture.h"
#include "widgets/tabstriplayout.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <functional>

namespace ovra {
namespace {

using test::EventLog;
using test::StripWindow;

// A strip whose tabs are captioned A, B, C, ... with one child per tab, named after its
// tab's caption.
struct Pages {
    explicit Pages(int count) {
        strip.resize(300, 200);
        strip.setTabCount(count);
        for (int i = 0; i < count; ++i) {
            const QString name = QString(QChar(u'A' + i));
            strip.setTabCaption(i, name);
            auto* child = new QWidget;
            child->setObjectName(name);
            strip.addControl(child, 5 + i, 40, 20, 20, i);
            children.append(child);
        }
        strip.setActiveTab(0);
    }

    // Names of the children within sight, for each tab in turn.
    QStringList shownPerTab() {
        QStringList shown;
        for (int t = 0; t < strip.TabCount(); ++t) {
            strip.setActiveTab(t);
            QStringList names;
            for (QWidget* child : children) {
                if (strip.rect().intersects(child->geometry()))
                    names << child->objectName() + QStringLiteral("@") +
                                 QString::number(child->x());
            }
            shown << (names.isEmpty() ? QStringLiteral("-") : names.join(u','));
        }
        return shown;
    }

    QStringList captions() const {
        QStringList out;
        for (int t = 0; t < strip.TabCount(); ++t)
            out << strip.TabCaption(t);
        return out;
    }

    TabStrip strip;
    QList<QWidget*> children;
};

TEST(TabPages, OnlyTheActiveTabsChildrenAreInSight) {
    Pages p(3);
    EXPECT_EQ(p.shownPerTab(), (QStringList{"A@5", "B@6", "C@7"}));
    p.strip.setActiveTab(2);
    // A child of tab k stands (k - active) page offsets to the left of its place.
    EXPECT_EQ(p.children[0]->x(), 5 - (0 - 2) * p.strip.PageOffset());
    EXPECT_EQ(p.children[1]->x(), 6 - (1 - 2) * p.strip.PageOffset());
    EXPECT_EQ(p.strip.PageOffset(), 10000);
}

TEST(TabPages, InsertTabMovesCaptionsAndChildrenAndKeepsTheShownPage) {
    for (int index = -1; index < 3; ++index) {
        for (int start = 0; start < 3; ++start) {
            Pages p(3);
            p.strip.setActiveTab(start);
            const QString showing = p.strip.TabCaption(start);
            EventLog log(&p.strip);
            p.strip.insertTab(index, QStringLiteral("N"));
            const std::string at =
                "insert after " + std::to_string(index) + ", active " + std::to_string(start);
            EXPECT_EQ(log.entries, QStringList{QStringLiteral("Insert(%1)").arg(index)}) << at;
            EXPECT_EQ(p.strip.TabCaption(p.strip.ActiveTab()), showing) << at;
            QStringList captions{"A", "B", "C"};
            captions.insert(index + 1, QStringLiteral("N"));
            EXPECT_EQ(p.captions(), captions) << at;
            QStringList shown;
            for (const QString& c : captions)
                shown << (c == QStringLiteral("N")
                              ? QStringLiteral("-")
                              : c + QStringLiteral("@") +
                                    QString::number(5 + (c.at(0).unicode() - 'A')));
            EXPECT_EQ(p.shownPerTab(), shown) << at;
            EXPECT_TRUE(p.strip.TabEnabled(index + 1)) << at;
        }
    }
}

TEST(TabPages, RemoveTabParksItsChildrenAndMovesTheRestBack) {
    for (int index = 0; index < 3; ++index) {
        for (int start = 0; start < 3; ++start) {
            Pages p(3);
            p.strip.setActiveTab(start);
            const QString showing = p.strip.TabCaption(start);
            EventLog log(&p.strip);
            p.strip.removeTab(index);
            const std::string at =
                "remove " + std::to_string(index) + ", active " + std::to_string(start);
            EXPECT_EQ(log.entries, QStringList{QStringLiteral("Remove(%1)").arg(index)}) << at;
            QStringList captions{"A", "B", "C"};
            captions.removeAt(index);
            EXPECT_EQ(p.captions(), captions) << at;
            ASSERT_GE(p.strip.ActiveTab(), 0);
            ASSERT_LT(p.strip.ActiveTab(), 2);
            if (start != index) {
                EXPECT_EQ(p.strip.TabCaption(p.strip.ActiveTab()), showing) << at;
            }
            QStringList shown;
            for (const QString& c : captions)
                shown << c + QStringLiteral("@") + QString::number(5 + (c.at(0).unicode() - 'A'));
            EXPECT_EQ(p.shownPerTab(), shown) << at; // the removed tab's child never shows
        }
    }
}

TEST(TabPages, RemovingTheOnlyTabDoesNothing) {
    TabStrip strip;
    strip.setTabCount(1);
    EventLog log(&strip);
    strip.removeTab(0);
    EXPECT_EQ(strip.TabCount(), 1);
    EXPECT_TRUE(log.entries.isEmpty());
}

TEST(TabPages, TabCountGrowsWithNumberedTabsAndShrinksOntoTheLastTab) {
    Pages p(3);
    p.strip.setActiveTab(2);
    p.strip.setTabCount(5);
    EXPECT_EQ(p.captions(), (QStringList{"A", "B", "C", "Tab 3", "Tab 4"}));
    p.strip.setTabCount(2);
    EXPECT_EQ(p.strip.ActiveTab(), 1);
    EXPECT_TRUE(p.strip.rect().intersects(p.children[1]->geometry()));
    EXPECT_FALSE(p.strip.rect().intersects(p.children[2]->geometry()));
    p.strip.setTabCount(0);
    EXPECT_EQ(p.strip.TabCount(), 1);
    p.strip.setTabCount(1 << 30);
    EXPECT_EQ(p.strip.TabCount(), TabStrip::kMaxTabCount);
}

TEST(TabPages, AddControlAppliesOnlyTheGivenGeometry) {
    TabStrip strip;
    strip.resize(300, 200);
    auto* child = new QWidget;
    child->setGeometry(1, 2, 30, 40);
    strip.addControl(child, -1, 50, -1, 60);
    EXPECT_EQ(child->parentWidget(), &strip);
    EXPECT_EQ(child->geometry(), QRect(1, 50, 30, 60));
    EXPECT_FALSE(child->isHidden());
    // Moved to another page, it keeps its own place there.
    strip.addControl(child, -1, -1, -1, -1, 1);
    EXPECT_EQ(strip.ActiveTab(), 1);
    EXPECT_EQ(child->geometry(), QRect(1, 50, 30, 60));
    strip.setActiveTab(0);
    EXPECT_FALSE(strip.rect().intersects(child->geometry()));
    // Refused switch: the control still lands on the tab it was meant for.
    EventLog log(&strip);
    log.cancelNext = true;
    auto* other = new QWidget;
    strip.addControl(other, 10, 10, 10, 10, 2);
    EXPECT_EQ(strip.ActiveTab(), 0);
    EXPECT_EQ(other->x(), 10 - 2 * strip.PageOffset());
}

TEST(TabPages, TabPicturesCopiedFromAListAndRemoved) {
    TabStrip strip;
    QPixmap red(4, 4), green(4, 4), blue(4, 4);
    red.fill(Qt::red);
    green.fill(Qt::green);
    blue.fill(Qt::blue);
    strip.setTabPicture(2, blue);
    strip.copyTabImagesFromImageList({red, green});
    auto colourOf = [&](int tab) {
        const QPixmap p = strip.TabPicture(tab);
        return p.isNull() ? QColor() : QColor(p.toImage().pixel(0, 0));
    };
    EXPECT_EQ(colourOf(0), QColor(Qt::red));
    EXPECT_EQ(colourOf(1), QColor(Qt::green));
    EXPECT_EQ(colourOf(2), QColor(Qt::blue)); // beyond the list: kept
    strip.removeTabImages(1);
    EXPECT_FALSE(colourOf(1).isValid());
    EXPECT_TRUE(colourOf(0).isValid());
    strip.removeTabImages(-1, true);
    for (int tab = 0; tab < 3; ++tab)
        EXPECT_FALSE(colourOf(tab).isValid()) << tab;
}

TEST(TabPages, TabKeyPassesOverControlsOfOtherPages) {
    StripWindow form(2);
    auto* first = new QLineEdit;
    auto* second = new QLineEdit;
    form.strip->addControl(first, 10, 40, 100, 22, 0);
    form.strip->addControl(second, 10, 40, 100, 22, 1);
    form.strip->setActiveTab(0);
    auto* after = new QPushButton(QStringLiteral("After"), form.form());
    after->setGeometry(10, 190, 60, 20);
    ASSERT_TRUE(form.show());

    first->setFocus();
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), after);

    form.strip->setActiveTab(1);
    form.strip->setFocus();
    QTest::keyClick(form.strip, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), second);
}

TEST(TabErrors, FailuresNameTheMember) {
    const struct {
        const char* name;
        std::function<void(TabStrip&)> call;
        int number;
        const char* source;
    } cases[] = {
        {"caption too high", [](TabStrip& s) { s.setTabCaption(3, "x"); }, 9,
         "ucTabStrip.TabCaption"},
        {"caption negative", [](TabStrip& s) { (void)s.TabCaption(-1); }, 9,
         "ucTabStrip.TabCaption"},
        {"enabled", [](TabStrip& s) { s.setTabEnabled(5, false); }, 9, "ucTabStrip.TabEnabled"},
        {"picture", [](TabStrip& s) { (void)s.TabPicture(3); }, 9, "ucTabStrip.TabPicture"},
        {"insert past the end", [](TabStrip& s) { s.insertTab(3, "x"); }, 9,
         "ucTabStrip.InsertTab"},
        {"insert before -1", [](TabStrip& s) { s.insertTab(-2, "x"); }, 9, "ucTabStrip.InsertTab"},
        {"remove", [](TabStrip& s) { s.removeTab(3); }, 9, "ucTabStrip.RemoveTab"},
        {"add nothing", [](TabStrip& s) { s.addControl(nullptr); }, 5, "ucTabStrip.AddControl"},
        {"add to no tab", [](TabStrip& s) { s.addControl(new QWidget(&s), 0, 0, 1, 1, 7); }, 9,
         "ucTabStrip.AddControl"},
        {"images", [](TabStrip& s) { s.removeTabImages(4); }, 9, "ucTabStrip.RemoveTabImages"},
    };
    for (const auto& c : cases) {
        TabStrip strip;
        try {
            c.call(strip);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const TabStripError& e) {
            EXPECT_EQ(e.number(), c.number) << c.name;
            EXPECT_EQ(e.source(), QLatin1String(c.source)) << c.name;
            EXPECT_FALSE(e.description().isEmpty()) << c.name;
        }
        // A refused call changes nothing.
        EXPECT_EQ(strip.TabCount(), 3) << c.name;
        EXPECT_EQ(strip.TabCaption(0), QStringLiteral("Tab 0")) << c.name;
    }
}

TEST(TabStatus, ParentWindowMovesAndSizesAreReported) {
    StripWindow form(3);
    ASSERT_TRUE(form.show());
    EventLog log(form.strip);
    QWidget* window = form.form();
    window->move(window->pos() + QPoint(15, 0));
    window->resize(window->size() + QSize(10, 10));
    EXPECT_EQ(log.entries, (QStringList{"Form is moving...", "Form is sizing..."}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return log.entries.size() == 3; }, 3000));
    EXPECT_EQ(log.entries.value(2), QStringLiteral("Finished Sizing."));
    window->move(window->pos() + QPoint(5, 5));
    EXPECT_TRUE(QTest::qWaitFor([&] { return log.entries.size() == 5; }, 3000));
    EXPECT_EQ(log.entries.value(4), QStringLiteral("Finished Moving."));
}

TEST(TabStatus, FollowsTheStripIntoANewWindow) {
    StripWindow form(3);
    ASSERT_TRUE(form.show());
    QWidget other;
    other.resize(200, 200);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    form.strip->setParent(&other);
    EventLog log(form.strip);
    form.form()->move(form.form()->pos() + QPoint(3, 3));
    other.move(other.pos() + QPoint(3, 3));
    EXPECT_EQ(log.entries, QStringList{"Form is moving..."});
}

TEST(TabControlBox, ReportsEnterHoverDownAndExit) {
    StripWindow form(3);
    ASSERT_TRUE(form.show());
    TabStrip& s = *form.strip;
    s.setUseControlBox(true);
    const QRect box = TabStripLayout::controlBoxRect(s.TabRect(0));
    ASSERT_GE(box.width(), 5);
    EventLog log(&s);
    QTest::mouseMove(&s, test::tabCentre(s, 0) - QPoint(20, 0));
    QTest::mouseMove(&s, box.topLeft() + QPoint(2, 3));
    QTest::mousePress(&s, Qt::LeftButton, {}, box.topLeft() + QPoint(2, 3));
    QTest::mouseRelease(&s, Qt::LeftButton, {}, box.topLeft() + QPoint(2, 3));
    QTest::mouseMove(&s, QPoint(box.left() - 10, 100));
    EXPECT_EQ(log.only(QStringLiteral("Box")),
              (QStringList{"BoxEnter", "BoxDown(2,3)", "BoxExit"}));
    // Tab 1 has no box while it is neither active nor highlighted.
    log.entries.clear();
    QTest::mouseMove(&s, TabStripLayout::controlBoxRect(s.TabRect(1)).center());
    EXPECT_TRUE(log.only(QStringLiteral("Box")).isEmpty());
}

} // namespace
} // namespace ovra
