// Unsafe clock names through the settings dialog's clocks page: typed braces are
// dropped as they are typed, and a name pasted whole is refused with its reason
// before anything is stored or started.
#include "dialogs/clockspage.h"
#include "dialogs/configfixture.h"
#include "dialogs/displaynameedit.h"

#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

using namespace ovra;

TEST(HostileDialog, PastedNamesAreRefusedWithTheirReason) {
    const struct {
        QString name;
        const char* reason;
    } cases[] = {
        {QStringLiteral("../../x"), "cannot contain \"/\" or \"\\\""},
        {QStringLiteral("{A}"), "cannot contain \"{\" or \"}\""},
        {QStringLiteral("System"), "reserved for the clock list"},
        {QStringLiteral(".."), "is reserved"},
        {QStringLiteral("bell\a"), "control characters"},
        {QStringLiteral("abc\u202etxt"), "control characters"},
        {QString(QChar(0xfffd)), "not valid text"},
        {QStringLiteral("--list"), "cannot begin with \"--\""},
    };
    for (const auto& c : cases) {
        test::ConfigFixture f;
        ClocksPage* page = f.open().clocksPage();
        f.log.clear();
        page->nameEdit()->setText(c.name);
        page->clockCommand(ClocksPage::Add);
        ASSERT_EQ(f.messages.messages.size(), 1u) << qPrintable(c.name);
        EXPECT_TRUE(f.messages.messages[0].text.contains(QString::fromUtf8(c.reason)))
            << qPrintable(f.messages.messages[0].text);
        // Nothing started and no wait; the list is only read (and its clocks raised).
        EXPECT_EQ(f.log.filter(QRegularExpression(QStringLiteral("^(?!raise )"))), QStringList())
            << qPrintable(c.name);
        EXPECT_EQ(f.storedText(kClockListKey, kClockListValue), QString()) << qPrintable(c.name);
        EXPECT_TRUE(std::holds_alternative<std::monostate>(
            f.store.readValue(clockKeyPath(c.name), QStringLiteral("Enable"))))
            << qPrintable(c.name);
    }
}

TEST(HostileDialog, TypedBracesAreDroppedAndTheRestIsAdded) {
    test::ConfigFixture f;
    ClocksPage* page = f.open().clocksPage();
    page->nameEdit()->clear();
    QTest::keyClicks(page->nameEdit(), QStringLiteral("{To}k{yo}"));
    EXPECT_EQ(page->nameEdit()->text(), QStringLiteral("Tokyo"));
    page->clockCommand(ClocksPage::Add);
    EXPECT_TRUE(f.messages.messages.empty());
    EXPECT_EQ(f.storedText(kClockListKey, kClockListValue), QStringLiteral("{Tokyo}"));
}
