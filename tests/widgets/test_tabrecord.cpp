#include "widgets/filefilter.h"
#include "widgets/tabrecord.h"

#include <gtest/gtest.h>

namespace ovra {
namespace {

TEST(TabCaption, ShownTextAndAccessKey) {
    const struct {
        const char16_t* caption;
        const char16_t* text;
        int mnemonicPos;
        int accessKey;
    } cases[] = {
        {u"Save && &Load", u"Save & Load", 7, 'L'},
        {u"&File", u"File", 0, 'F'},
        {u"&first &second", u"first second", 6, 'S'}, // the last single "&" counts
        {u"Plain", u"Plain", -1, 0},
        {u"R&&D", u"R&D", -1, 0},
        {u"&&&x", u"&x", 1, 'X'},
        {u"Trailing&", u"Trailing", -1, 0},
        {u"&", u"", -1, 0},
        {u"Gap& here", u"Gap here", -1, 0}, // a blank is no access key
        {u"&9 lives", u"9 lives", 0, '9'},
        {u"\u00fc&ber", u"\u00fcber", 1, 'B'},
        {u"&\u00e9t\u00e9", u"\u00e9t\u00e9", 0, 0xC9},
        {u"", u"", -1, 0},
    };
    for (const auto& c : cases) {
        const QString caption = QString::fromUtf16(c.caption);
        const CaptionParts parts = parseCaption(caption);
        EXPECT_EQ(parts.text, QString::fromUtf16(c.text)) << caption.toStdString();
        EXPECT_EQ(parts.mnemonicPos, c.mnemonicPos) << caption.toStdString();
        EXPECT_EQ(parts.accessKey, c.accessKey) << caption.toStdString();
    }
}

TEST(TabCaption, MarkupUnderlinesOnlyTheAccessKey) {
    const struct {
        const char16_t* caption;
        const char16_t* markup;
    } cases[] = {
        {u"Save && &Load", u"Save && &Load"},
        {u"&first &second", u"first &second"},
        {u"R&&D", u"R&&D"},
        {u"Trailing&", u"Trailing"},
    };
    for (const auto& c : cases) {
        const QString caption = QString::fromUtf16(c.caption);
        EXPECT_EQ(mnemonicMarkup(parseCaption(caption)), QString::fromUtf16(c.markup))
            << caption.toStdString();
    }
}

TEST(FileFilter, PipePairsBecomeQtFilters) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"Pictures|*.bmp;*.png|All files|*.*", "Pictures (*.bmp *.png);;All files (*)"},
        {"Icons (*.ico)|*.ico", "Icons (*.ico) (*.ico)"},
        {"|*.wav", "*.wav (*.wav)"},
        {"Sounds|*.wav|Dangling", "Sounds (*.wav)"},
        {"Empty|;;|Text|*.txt", "Text (*.txt)"},
        {"Images (*.png *.jpg);;All (*)", "Images (*.png *.jpg);;All (*)"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toQtFileFilter(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
}

} // namespace
} // namespace ovra
