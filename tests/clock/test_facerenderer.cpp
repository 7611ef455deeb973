#include "clock/drawingsurface.h"
#include "clock/facerenderer.h"
#include "clock/pixelruns.h"
#include "clock/poolthreadpainter.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>
#include <QtMath>

#include <gtest/gtest.h>

#include <cmath>

using namespace ovra;

namespace {

QDateTime at(int h, int mi, int s) {
    return QDateTime(QDate(2026, 5, 17), QTime(h, mi, s), Qt::UTC);
}

const QLocale kUs(QLocale::English, QLocale::UnitedStates);

QImage stripImage() {
    return QImage(QStringLiteral(":/CUSTOM/CLOSE"))
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// One face with everything a frame needs, drawn either way.
struct Face {
    explicit Face(ClockSettings s, const QString& family = {})
        : settings(s), layout(calcClockLayout(s)) {
        tools.createDrawTools(settings);
        surface.createSurface(QSize(layout.windowSize(), layout.windowSize()));
        renderer.prepare(layout, tools, family.isEmpty() ? surface.fontFamily() : family);
    }
    QImage draw(const QDateTime& when, FaceState state = {}, bool direct = false,
                const QString& name = QStringLiteral("Office")) {
        state.showScale = settings.showScale;
        FaceFrame frame = composeFaceFrame(when, settings, name, kUs);
        if (direct)
            renderer.drawFrameDirect(surface.image(), frame, state, button);
        else
            renderer.drawFrame(surface.image(), frame, state, button);
        lastFrame = frame;
        return surface.image().copy();
    }
    // The pixel at a radius and a clockwise angle from twelve o'clock.
    QColor pixel(const QImage& img, double radius, double degrees) const {
        const double a = qDegreesToRadians(degrees);
        // Shapes are centred on the middle of pixel (Center, Center).
        const int x = qFloor(layout.center + 0.5 + radius * std::sin(a));
        const int y = qFloor(layout.center + 0.5 - radius * std::cos(a));
        return img.pixelColor(x, y);
    }

    ClockSettings settings;
    ClockLayout layout;
    DrawTools tools;
    DrawingSurface surface;
    FaceRenderer renderer;
    QImage button = stripImage();
    FaceFrame lastFrame;
};

ClockSettings plain(int hourMode = 0) {
    ClockSettings s = defaultSettings();
    s.hourMode = HourMode(hourMode);
    s.showScale = false; // ring colours are read where no scale line crosses
    return s;
}

// The largest face the dialog allows: every size at its maximum.
ClockSettings largestFace() {
    ClockSettings s = defaultSettings();
    s.radius = 128;
    s.hourRingWidth = s.minuteRingWidth = s.secondRingWidth = 50;
    return s;
}

// A twenty-four-hour face of odd sizes, whose second ring's edges fall between pixels.
ClockSettings oddFace() {
    ClockSettings s = plain(1);
    s.radius = 61;
    s.secondRingWidth = 13;
    return s;
}

QRgb rgba(QColor c) {
    return c.rgba();
}

constexpr QRgb kBlack = 0xFF000000;

int maxChannelDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return worst;
}

} // namespace

TEST(FaceRenderer, RingColoursAtKnownAnglesAndRadii) {
    enum Ring { Hour, Minute, Second };
    const double mid[] = {57, 75, 93}; // middle radius of each ring at the default sizes
    const QRgb am = 0xFFDB5C1C, pm = 0xFFFFC90E, minute = 0xFF2272CD, second = 0xFF71A713;
    const struct {
        const char* what;
        int hourMode;
        QDateTime when;
        Ring ring;
        double angle;
        QRgb expected;
    } cases[] = {
        {"15:25:07 second arc 42", 0, at(15, 25, 7), Second, 21, second},
        {"15:25:07 beyond the second arc", 0, at(15, 25, 7), Second, 63, kBlack},
        {"15:25:07 minute arc 150", 0, at(15, 25, 7), Minute, 147, minute},
        {"15:25:07 beyond the minute arc", 0, at(15, 25, 7), Minute, 160, kBlack},
        {"15:25:07 hour arc 90 in PM", 0, at(15, 25, 7), Hour, 80, pm},
        {"15:25:07 beyond the hour arc", 0, at(15, 25, 7), Hour, 120, kBlack},
        {"15:25:07 24h hour arc 225", 1, at(15, 25, 7), Hour, 220, am},
        {"15:25:07 24h beyond 225", 1, at(15, 25, 7), Hour, 235, kBlack},
        {"00:00:00 second full", 0, at(0, 0, 0), Second, 0, second},
        {"00:00:00 second full, just before twelve", 0, at(0, 0, 0), Second, 357, second},
        {"00:00:00 minute full", 0, at(0, 0, 0), Minute, 180, minute},
        {"00:00:00 hour full in AM", 0, at(0, 0, 0), Hour, 270, am},
        {"00:00:00 24h hour full", 1, at(0, 0, 0), Hour, 0, am},
        {"12:30:00 hour full in PM", 0, at(12, 30, 0), Hour, 200, pm},
        {"12:30:00 minute half", 0, at(12, 30, 0), Minute, 170, minute},
        {"12:30:00 minute half ends", 0, at(12, 30, 0), Minute, 190, kBlack},
        {"13:00:01 hour 30 in PM", 0, at(13, 0, 1), Hour, 15, pm},
        {"13:00:01 beyond 30", 0, at(13, 0, 1), Hour, 45, kBlack},
        {"13:00:01 second 6", 0, at(13, 0, 1), Second, 3, second},
        {"13:00:01 beyond 6", 0, at(13, 0, 1), Second, 12, kBlack},
        {"11:59:59 hour in AM", 0, at(11, 59, 59), Hour, 300, am},
        {"18:30:30 24h hour 270", 1, at(18, 30, 30), Hour, 260, am},
        {"18:30:30 24h beyond 270", 1, at(18, 30, 30), Hour, 285, kBlack},
    };
    for (const auto& c : cases) {
        Face face(plain(c.hourMode));
        const QImage img = face.draw(c.when);
        EXPECT_EQ(rgba(face.pixel(img, mid[c.ring], c.angle)), c.expected) << c.what;
    }
}

TEST(FaceRenderer, DialOpacityAndTransparencyOutsideTheDial) {
    const struct {
        int opacity;
        int alpha;
    } cases[] = {{0, 0xFF}, {1, 0xEE}, {2, 0xDD}, {3, 0xCC}, {4, 0xBB}, {5, 0xAA}, {6, 0xDD}};
    for (const auto& c : cases) {
        ClockSettings s = plain();
        s.opacityStep = c.opacity;
        Face face(s);
        const QImage img = face.draw(at(15, 25, 7));
        SCOPED_TRACE(c.opacity);
        // Inside the text disc, clear of the texts.
        const QColor disc = face.pixel(img, 40, 45);
        EXPECT_EQ(disc.alpha(), c.alpha);
        EXPECT_EQ(disc.red(), 0);
        // Outside the dial nothing at all: the corners and just beyond the edge.
        for (const QPoint p : {QPoint(0, 0), QPoint(245, 0), QPoint(0, 245), QPoint(245, 245),
                               QPoint(30, 30), QPoint(123, 10), QPoint(235, 50)})
            EXPECT_EQ(img.pixelColor(p).alpha(), 0) << p.x() << "," << p.y();
        EXPECT_EQ(face.pixel(img, 104, 45).alpha(), 0);
        EXPECT_EQ(face.pixel(img, 100, 45).alpha(), c.alpha);
    }
}

TEST(FaceRenderer, ScaleLiesOnTopAndCanBeSwitchedOff) {
    // At 15:25:07 the three o'clock tick crosses the empty second ring and the
    // filled minute ring; the six o'clock tick crosses the empty hour ring.
    const QRgb minute = 0xFF2272CD;
    for (const bool showScale : {true, false}) {
        ClockSettings s = plain();
        s.showScale = showScale;
        Face face(s);
        const QImage img = face.draw(at(15, 25, 7));
        const int c = face.layout.center;
        const bool on = showScale;
        SCOPED_TRACE(showScale);
        // Scale colour 0x77777777 on the opaque black dial gives 0x37 grey.
        for (const QPoint p : {QPoint(c + 93, c), QPoint(c, c + 57), QPoint(c, c + 90)}) {
            const QColor got = img.pixelColor(p);
            EXPECT_EQ(got.alpha(), 255);
            EXPECT_NEAR(got.red(), on ? 0x37 : 0, 1) << p.x() << "," << p.y();
        }
        // Over a ring the line is blended on top of the ring's colour.
        const QRgb crossing = img.pixel(c + 75, c);
        if (on)
            EXPECT_NE(crossing, minute);
        else
            EXPECT_EQ(crossing, minute);
        // The inner circle where the hour ring is empty, away from any tick.
        int brightest = 0;
        for (double r = 47; r <= 48.5; r += 0.5)
            brightest = std::max(brightest, face.pixel(img, r, 195).red());
        if (on)
            EXPECT_GE(brightest, 0x20);
        else
            EXPECT_EQ(brightest, 0);
    }
}

TEST(FaceRenderer, HighlightRingOnlyWhileActive) {
    Face face(plain());
    const int c = face.layout.center;
    for (const bool active : {true, false}) {
        const QImage img = face.draw(at(15, 25, 7), FaceState{active, hotbutton::Hidden, false});
        // The 2-pixel pen runs one pixel outside the dial's edge.
        for (const QPoint p : {QPoint(c + 103, c), QPoint(c - 103, c), QPoint(c, c + 103)}) {
            const QColor got = img.pixelColor(p);
            if (active) {
                EXPECT_EQ(got.alpha(), 0xCC);
                EXPECT_NEAR(got.blue(), 0xEE, 2);
                EXPECT_NEAR(got.red(), 0x11, 2);
            } else {
                EXPECT_EQ(got.alpha(), 0);
            }
        }
    }
}

TEST(FaceRenderer, EachStripStateDrawsItsColumnOrNothing) {
    Face face(plain());
    const QImage& strip = face.button;
    ASSERT_EQ(strip.size(), QSize(63, 63)) << "the CLOSE resource is missing";
    const struct {
        int32_t state;
        int column; // -1: nothing
    } cases[] = {{-1, -1}, {0, 0}, {1, 1}, {2, 2}, {3, 0}, {4, -1}, {-7, -1}};
    for (const auto& c : cases) {
        const QImage img = face.draw(at(15, 25, 7), FaceState{false, c.state, false});
        SCOPED_TRACE(c.state);
        int mismatches = 0;
        for (int y = 0; y < 63; ++y)
            for (int x = 0; x < 21; ++x) {
                const QRgb want = c.column < 0 ? 0u : strip.pixel(c.column * 21 + x, y);
                if (img.pixel(225 + x, 21 + y) != want)
                    ++mismatches;
            }
        EXPECT_EQ(mismatches, 0);
    }
    // The three columns differ where the highlights are.
    EXPECT_NE(strip.pixel(4, 4), strip.pixel(25, 4));
    EXPECT_NE(strip.pixel(4, 25), strip.pixel(46, 25));
}

TEST(FaceRenderer, TextsAreCentredInTheirBoxes) {
    Face face(plain());
    const QImage img = face.draw(at(15, 25, 7));
    EXPECT_EQ(face.lastFrame.timeText, QStringLiteral("03:25:07 P"));
    const QRectF inner = face.layout.innerRect;
    // White time text, grey title and date; their boxes within the inner disc.
    QRect white, grey;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QColor p = img.pixelColor(x, y);
            const bool neutral =
                std::abs(p.red() - p.blue()) < 8 && std::abs(p.red() - p.green()) < 8;
            if (!neutral || p.alpha() != 255)
                continue;
            if (p.red() > 0xE0)
                white |= QRect(x, y, 1, 1);
            else if (p.red() > 0x60 && p.red() < 0x80)
                grey |= QRect(x, y, 1, 1);
        }
    ASSERT_FALSE(white.isEmpty());
    EXPECT_TRUE(inner.contains(white));
    EXPECT_NEAR(white.center().x(), face.layout.center, 3);
    EXPECT_NEAR(white.center().y(), face.layout.center, 4);
    EXPECT_GT(white.width(), 50); // ten characters at 16 pixels
    EXPECT_LT(white.height(), 20);
    ASSERT_FALSE(grey.isEmpty());
    EXPECT_TRUE(inner.contains(grey));
    EXPECT_LT(grey.top(), white.top());       // the title above the time
    EXPECT_GT(grey.bottom(), white.bottom()); // the date below it

    // drawText trims blanks (only blanks) in place and raises small sizes to 12.
    QPainter p(&face.surface.image());
    QString text = QStringLiteral("  Los Ang\t ");
    uint8_t size = 8;
    face.renderer.drawText(p, text, 75, 75, 96, 48, face.tools.dateBrush, size, 0);
    EXPECT_EQ(text, QStringLiteral("Los Ang\t"));
    EXPECT_EQ(size, 12);
}

// The face lays each new text out once and draws it from that layout; drawText
// lays it out again for every call. Both must leave the very same pixels: every
// time of a day, dates, names that wrap, overflow their box or run right to left,
// at several sizes, at whole and fractional places, on a doubled surface too.
TEST(FaceRenderer, LaidOutTextsLeaveWhatDrawTextLeaves) {
    struct Texts {
        uint8_t size;
        QRectF box;
        QStringList texts;
    };
    const auto times = [](bool twentyFour, int step) {
        QStringList all;
        for (int s = 0; s < 24 * 3600; s += step) {
            const QTime t = QTime(0, 0).addSecs(s);
            all << (twentyFour ? t.toString(u"HH:mm:ss") : t.toString(u"hh:mm:ss A").chopped(1));
        }
        return all;
    };
    const QStringList others = {
        QStringLiteral("Wednesday"),
        QStringLiteral("05/17/2026"),
        QStringLiteral("2026/12/07"),
        QStringLiteral("Los Ang\t"),
        QStringLiteral("New\nYork"),
        QStringLiteral("Tokyo\r1"),
        QStringLiteral("WWWWWWWW"),
        QStringLiteral("Rio de Janeiro central station"),
        QStringLiteral("a"),
        QString::fromUtf8("\u05ea\u05dc \u05d0\u05d1\u05d9\u05d1 12"),
        QString::fromUtf8("Zürich ÄÖ"),
    };
    const std::vector<Texts> cases = {
        {16, QRectF(75, 75, 96, 96), times(false, 1)},
        {18, QRectF(75, 75, 96, 96), times(true, 7)},
        {12, QRectF(75, 75, 96, 48), others},
        {24, QRectF(75.5, 123.25, 96, 48), others + times(false, 997)},
        {48, QRectF(20, 20, 120, 40), others + times(true, 3607)},
        {96, QRectF(10, 10, 236, 236), others},
    };
    // A window's resolution may differ from an image's. Digits are put into a
    // text laid out before where the font allows: Liberation Sans (for Arial)
    // kerns some pairs of digits, DejaVu Sans none, Z003's digits differ in
    // width. A program in a right-to-left language (Qt's Hebrew catalogue makes
    // it so) still shows "12:00:00 A" as drawText does, not "A 12:00:00".
    const struct {
        qreal dpr;
        int dotsPerMeter; // 0: an image's own
        const char* family;
        Qt::LayoutDirection direction = Qt::LeftToRight;
    } devices[] = {{1.0, 0, "Arial"},
                   {2.0, 0, "Arial"},
                   {1.0, 4724, "Arial"},
                   {1.0, 0, "DejaVu Sans"},
                   {1.0, 0, "Z003"},
                   {2.0, 0, "DejaVu Sans"},
                   {1.0, 0, "Arial", Qt::RightToLeft}};
    for (const auto& device : devices) {
        const auto& [dpr, dotsPerMeter, family, direction] = device;
        QGuiApplication::setLayoutDirection(direction);
        Face face(defaultSettings());
        face.renderer.prepare(face.layout, face.tools, QString::fromLatin1(family), dpr);
        QImage laidOut(QSize(256, 256) * dpr, QImage::Format_ARGB32_Premultiplied);
        laidOut.setDevicePixelRatio(dpr);
        if (dotsPerMeter != 0) {
            laidOut.setDotsPerMeterX(dotsPerMeter);
            laidOut.setDotsPerMeterY(dotsPerMeter);
        }
        QImage drawn = laidOut;
        for (const Texts& c : cases) {
            if (&devices[0] != &device && c.texts.size() > 200)
                continue;
            int differing = 0;
            for (const QString& text : c.texts) {
                for (QImage* image : {&laidOut, &drawn})
                    image->fill(qRgba(10, 20, 30, 200));
                for (QImage* image : {&laidOut, &drawn}) {
                    QPainter p(image);
                    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
                    QString shown = text;
                    uint8_t size = c.size;
                    if (image == &drawn)
                        face.renderer.drawText(p, shown, c.box.x(), c.box.y(), c.box.width(),
                                               c.box.height(), face.tools.timeBrush, size, 0);
                    else
                        face.renderer.drawLaidOutText(p, shown, c.box, face.tools.timeBrush, size);
                }
                if (!(laidOut == drawn) && ++differing <= 3)
                    ADD_FAILURE() << "\"" << text.toStdString() << "\" at " << int(c.size)
                                  << " px, ratio " << dpr << ", " << dotsPerMeter << " dots/m, "
                                  << family
                                  << (direction == Qt::RightToLeft ? ", right to left" : "");
            }
            EXPECT_EQ(differing, 0);
        }
    }
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
}

// Whole frames are drawn on a pool thread, whose fonts go when the thread ends
// after a while idle; the seconds after it are drawn on the main thread and must
// not use anything of the ended thread's.
TEST(FaceRenderer, TextsOutliveThePoolThreadThatDrewAWholeFrame) {
    QThreadPool* pool = QThreadPool::globalInstance();
    const int expiry = pool->expiryTimeout();
    pool->setExpiryTimeout(1);
    Face partial(defaultSettings()), whole(defaultSettings());
    const FaceState state{false, hotbutton::Hidden, true};
    FaceFrame before =
        composeFaceFrame(at(15, 25, 7), partial.settings, QStringLiteral("Default"), kUs);
    PoolThreadPainter::run([&] {
        partial.renderer.drawFrame(partial.surface.image(), before, state, partial.button);
    });
    // The pool's thread, idle, ends soon after.
    pool->waitForDone();
    QThread::msleep(100);
    for (const int second : {8, 9}) {
        FaceFrame after =
            composeFaceFrame(at(15, 25, second), partial.settings, QStringLiteral("Default"), kUs);
        FaceRenderer::settleTexts(after);
        const QRegion area = partial.renderer.changedArea(before, after);
        partial.renderer.drawFrame(partial.surface.image(), after, state, partial.button, area);
        EXPECT_TRUE(partial.surface.image() ==
                    whole.draw(at(15, 25, second), state, false, QStringLiteral("Default")));
        before = after;
    }
    pool->setExpiryTimeout(expiry);
}

TEST(FaceRenderer, LayeredFrameMatchesTheStraightforwardFrame) {
    ClockSettings largest = largestFace();
    largest.hourMode = HourMode::TwentyFourHour;
    ClockSettings translucent = defaultSettings();
    translucent.opacityStep = 5;
    translucent.scaleColor = QColor::fromRgba(0xFFFF0000u);
    translucent.minuteColor = QColor::fromRgba(0x80FF00FFu);
    ClockSettings odd = defaultSettings();
    odd.radius = 61;
    odd.hourRingWidth = 11;
    odd.minuteRingWidth = 27;
    odd.secondRingWidth = 13;
    const struct {
        const char* what;
        ClockSettings s;
        FaceState state;
    } cases[] = {
        {"default", defaultSettings(), {false, hotbutton::Hidden, true}},
        {"largest, 24 hours, active, close lit", largest, {true, hotbutton::Close, true}},
        {"translucent colours", translucent, {true, hotbutton::Face, true}},
        {"odd sizes", odd, {false, hotbutton::Settings, true}},
    };
    // Frames in sequence: the ring layer must follow each change of minute and hour.
    const QDateTime times[] = {at(9, 14, 59), at(9, 15, 0), at(9, 15, 1),
                               at(12, 0, 0),  at(0, 0, 0),  at(23, 59, 59)};
    for (const auto& c : cases) {
        Face layered(c.s);
        Face direct(c.s);
        for (const QDateTime& t : times) {
            SCOPED_TRACE(std::string(c.what) + " " + t.toString(u"HH:mm:ss").toStdString());
            const QImage a = layered.draw(t, c.state, false);
            const QImage b = direct.draw(t, c.state, true);
            // Blending a pre-drawn layer rounds once more than drawing in place.
            EXPECT_LE(maxChannelDifference(a, b), 3);
        }
    }
}

// Within an hour the ring layer on show is drawn anew only where the minute ring
// moved: carried from minute to minute, through a full ring and into the next hour,
// it must give the very frames of a layer drawn whole.
TEST(FaceRenderer, ARingLayerCarriedThroughTheHourKeepsEveryPixel) {
    const ClockSettings largest = largestFace();
    ClockSettings translucent = plain(1);
    translucent.minuteColor = QColor::fromRgba(0x80FF00FFu);
    translucent.radius = 61;
    translucent.minuteRingWidth = 27;
    for (const ClockSettings& s : {defaultSettings(), largest, translucent}) {
        Face carried(s), whole(s);
        for (int minute = 57; minute < 57 + 65; ++minute) {
            const QDateTime t = at(10 + minute / 60, minute % 60, 30);
            SCOPED_TRACE(std::to_string(s.radius) + " " + t.toString(u"HH:mm").toStdString());
            whole.renderer.prepare(whole.layout, whole.tools, whole.surface.fontFamily());
            const QImage a = carried.draw(t), b = whole.draw(t);
            ASSERT_TRUE(a == b) << "differs by " << maxChannelDifference(a, b);
        }
    }
}

TEST(FaceRenderer, NewSettingsRebuildEveryLayer) {
    Face face(plain());
    const QImage before = face.draw(at(9, 15, 7));
    ClockSettings changed = face.settings;
    changed.showScale = true;
    changed.opacityStep = 3;
    changed.minuteColor = QColor::fromRgba(0xFF00FF00u);
    face.settings = changed;
    face.tools.createDrawTools(changed);
    face.renderer.prepare(face.layout, face.tools, face.surface.fontFamily());
    const QImage after = face.draw(at(9, 15, 7));
    Face fresh(changed);
    const QImage expected = fresh.draw(at(9, 15, 7), {}, true);
    EXPECT_NE(maxChannelDifference(before, after), 0);
    EXPECT_LE(maxChannelDifference(after, expected), 3);
    EXPECT_EQ(face.pixel(after, 75, 45).rgba(), 0xFF00FF00u);
}

TEST(FaceRenderer, PartialFrameLeavesExactlyTheWholeFrame) {
    const ClockSettings largest = largestFace();
    const ClockSettings odd = oddFace();
    // The digits of a new second are drawn alone where every glyph keeps its place;
    // where kerning or widths move them (Z003), the text is drawn again.
    const struct {
        const char* what;
        ClockSettings s;
        QString name;
        QString family;
    } faces[] = {
        {"default", defaultSettings(), QStringLiteral("Default"), {}},
        {"largest", largest, QStringLiteral("Default"), {}},
        {"odd sizes, 24 hours", odd, QStringLiteral("Office"), {}},
        {"digits of many widths", largest, QStringLiteral("Tokyo 1"), QStringLiteral("Z003")},
    };
    const QDateTime nextDay(QDate(2026, 5, 18), QTime(0, 0, 0), Qt::UTC);
    const struct {
        QDateTime from, to;
        bool small; // a plain second early in a quarter of the ring
    } steps[] = {
        {at(15, 25, 7), at(15, 25, 8), true},   {at(15, 25, 58), at(15, 25, 59), false},
        {at(15, 25, 59), at(15, 26, 0), false}, {at(15, 26, 0), at(15, 26, 1), false},
        {at(11, 59, 59), at(12, 0, 0), false},  {at(23, 59, 59), nextDay, false},
        {at(15, 25, 40), at(15, 25, 9), false}, {at(15, 25, 9), at(18, 2, 44), false},
        {at(9, 59, 16), at(9, 59, 17), true},
    };
    // Every plain second of a minute, laid from the ring kept for it.
    std::vector<std::remove_cv_t<std::remove_reference_t<decltype(steps[0])>>> everySecond;
    for (int second = 1; second < 60; ++second)
        everySecond.push_back({at(15, 25, second - 1), at(15, 25, second), second == 8});
    for (const auto& f : faces)
        for (const bool kept : {false, true}) {
            // Every layer and overlay lies over the changed areas.
            const FaceState state{true, hotbutton::Close, f.s.showScale};
            Face partial(f.s, f.family), whole(f.s, f.family);
            if (kept)
                partial.renderer.prepareSecondSteps();
            std::vector<std::remove_cv_t<std::remove_reference_t<decltype(steps[0])>>> run(
                std::begin(steps), std::end(steps));
            if (kept)
                run.insert(run.end(), everySecond.begin(), everySecond.end());
            const int side = partial.layout.windowSize();
            // The ring layer of a frame to come may have been drawn beforehand, as the
            // last second of a minute does: for the frame that comes, or for another.
            enum class Ahead { None, ThisFrame, OtherFrame };
            for (const Ahead ahead : {Ahead::None, Ahead::ThisFrame, Ahead::OtherFrame})
                for (const auto& s : run) {
                    SCOPED_TRACE(std::string(f.what) + (kept ? " kept " : " ") +
                                 s.from.toString(u"HH:mm:ss").toStdString() + " to " +
                                 s.to.toString(u"HH:mm:ss").toStdString() + " ahead " +
                                 std::to_string(int(ahead)));
                    partial.draw(s.from, state, false, f.name);
                    FaceFrame before = partial.lastFrame;
                    FaceFrame after = composeFaceFrame(s.to, f.s, f.name, kUs);
                    FaceRenderer::settleTexts(after);
                    const bool newRings = FaceRenderer::ringsDiffer(before, after);
                    if (ahead == Ahead::ThisFrame)
                        partial.renderer.prepareRingLayer(after);
                    if (ahead == Ahead::OtherFrame)
                        partial.renderer.prepareRingLayer(
                            composeFaceFrame(s.to.addSecs(3600), f.s, f.name, kUs));
                    EXPECT_EQ(partial.renderer.ringLayerReady(after),
                              !newRings || ahead == Ahead::ThisFrame);
                    const QRegion area = partial.renderer.changedArea(before, after);
                    ASSERT_FALSE(area.isEmpty());
                    partial.renderer.drawFrame(partial.surface.image(), after, state,
                                               partial.button, area);
                    const QImage expected = whole.draw(s.to, state, false, f.name);
                    EXPECT_TRUE(partial.surface.image() == expected)
                        << "differs by " << maxChannelDifference(partial.surface.image(), expected);
                    const auto pixelsOf = [](const QRegion& r) {
                        qint64 n = 0;
                        for (const QRect& piece : r)
                            n += qint64(piece.width()) * piece.height();
                        return n;
                    };
                    // A normal second touches a small part of the window.
                    if (s.small) {
                        EXPECT_LT(pixelsOf(area) * 10, qint64(side) * side) << pixelsOf(area);
                    }
                    // With the ring kept, a plain second changes fewer pixels than the
                    // pieces of ring its stroke may reach.
                    const int second = s.to.time().second();
                    if (kept && second >= 2 && s.from.secsTo(s.to) == 1) {
                        EXPECT_LT(pixelsOf(area),
                                  pixelsOf(whole.renderer.changedArea(before, after)));
                    }
                }
        }
    Face face(defaultSettings());
    face.draw(at(15, 25, 7));
    EXPECT_TRUE(face.renderer.changedArea(face.lastFrame, face.lastFrame).isEmpty());
}

// A plain second lays just the pixels that change onto the frame before it, under
// each minute's and hour's rings and in each look: every second over a turn of the
// hour, at several sizes, scale on and off, active or not, with and without the
// strip. Where it cannot, the area is drawn.
TEST(FaceRenderer, ChangedPixelsLeaveTheWholeFrameMinuteAfterMinute) {
    const ClockSettings largest = largestFace();
    const ClockSettings odd = oddFace();
    ClockSettings close = defaultSettings(); // the second ring beside the minute ring
    close.secondRingWidth = close.minuteRingWidth = 40;
    const struct {
        const char* what;
        ClockSettings s;
    } faces[] = {
        {"default", defaultSettings()}, {"largest", largest}, {"odd", odd}, {"close", close}};
    const FaceState states[] = {{false, hotbutton::Hidden, true},
                                {true, hotbutton::Grip, true},
                                {true, hotbutton::Hidden, false}};
    for (const auto& f : faces)
        for (const FaceState& look : states) {
            Face partial(f.s), whole(f.s);
            partial.renderer.prepareSecondSteps();
            FaceState state = look;
            QDateTime when = at(15, 58, 50);
            partial.draw(when, state);
            int changes = 0;
            for (; when < at(16, 0, 10); when = when.addSecs(1)) {
                SCOPED_TRACE(testing::Message()
                             << f.what << " active " << state.isActive << " strip "
                             << state.hotButton << " to "
                             << when.addSecs(1).toString(u"HH:mm:ss").toStdString());
                FaceFrame before = partial.lastFrame;
                FaceFrame after =
                    composeFaceFrame(when.addSecs(1), f.s, QStringLiteral("Office"), kUs);
                FaceRenderer::settleTexts(after);
                state.showScale = f.s.showScale;
                const QRegion area = partial.renderer.changedArea(before, after);
                if (partial.renderer.drawChange(partial.surface.image(), before, after, state,
                                                partial.button, area))
                    ++changes;
                else
                    partial.renderer.drawFrame(partial.surface.image(), after, state,
                                               partial.button, area);
                partial.lastFrame = after;
                const QImage expected = whole.draw(when.addSecs(1), state, false);
                ASSERT_TRUE(partial.surface.image() == expected)
                    << "differs by " << maxChannelDifference(partial.surface.image(), expected);
            }
            // Most seconds are plain; a new minute and a second whose ring meets a
            // text or the strip are drawn.
            EXPECT_GT(changes, 40) << f.what;
        }
}

// Whatever area the toolkit asks for (an uncovered piece, a merged update), the
// frame's own pixels come back there: through the title, the time, the date, the
// rings, with the second ring kept or stroked.
// A new second redraws its changed digits, not the time from the first changed
// character to its end: at the largest size that was five times the pixels.
TEST(FaceRenderer, ANewSecondRedrawsOnlyItsChangedDigits) {
    const ClockSettings largest = largestFace();
    for (const ClockSettings& s : {defaultSettings(), largest}) {
        Face face(s);
        FaceFrame before = composeFaceFrame(at(15, 25, 0), s, QStringLiteral("Default"), kUs);
        FaceRenderer::settleTexts(before);
        int checked = 0;
        for (int second = 1; second < 60; ++second) {
            FaceFrame after =
                composeFaceFrame(at(15, 25, second), s, QStringLiteral("Default"), kUs);
            FaceRenderer::settleTexts(after);
            // The rings as they were: only the time differs.
            FaceFrame timeOnly = after;
            timeOnly.secondSweep = before.secondSweep;
            // Where kerning ("11" in Liberation Sans) makes the time wider or narrower,
            // every glyph moves and the whole text is drawn again.
            QFont font(face.surface.fontFamily());
            font.setPixelSize(after.timeFontSize);
            const QFontMetricsF metrics(font);
            if (metrics.horizontalAdvance(before.timeText) !=
                metrics.horizontalAdvance(after.timeText)) {
                before = after;
                continue;
            }
            ++checked;
            const int digits = second % 10 == 0 ? 2 : 1;
            const int box = after.timeFontSize + 4;
            qint64 pixels = 0;
            for (const QRect& r : face.renderer.changedArea(before, timeOnly))
                pixels += qint64(r.width()) * r.height();
            EXPECT_LE(pixels, 2 * digits * box * box)
                << after.timeText.toStdString() << " at " << int(after.timeFontSize) << " px";
            before = after;
        }
        EXPECT_GE(checked, 50);
    }
}

TEST(FaceRenderer, AnyAreaIsRedrawnExactly) {
    Face face(defaultSettings()), whole(defaultSettings());
    const int side = face.layout.windowSize(), c = face.layout.center;
    const QRegion areas[] = {
        QRect(0, c - 60, side, 24),                                            // across the title
        QRect(0, c - 8, side, 16),                                             // across the time
        QRect(c - 4, 0, 8, side),                                              // down the middle
        QRegion(QRect(c - 40, c + 30, 12, 12)) + QRect(c + 20, c - 50, 30, 6), // small pieces
        QRect(0, 0, side / 3, side / 3), // a corner of the rings
    };
    const FaceState state{true, hotbutton::Hidden, true};
    for (const bool kept : {false, true}) {
        if (kept)
            face.renderer.prepareSecondSteps();
        for (const QRegion& area : areas)
            for (const int second : {7, 23, 0}) {
                SCOPED_TRACE(testing::Message()
                             << "kept " << kept << " second " << second << " area "
                             << area.boundingRect().x() << "," << area.boundingRect().y());
                const QImage expected = whole.draw(at(15, 25, second), state);
                face.draw(at(15, 25, second), state);
                QImage& pixels = face.surface.image();
                {
                    QPainter scribble(&pixels);
                    scribble.setCompositionMode(QPainter::CompositionMode_Source);
                    for (const QRect& r : area)
                        scribble.fillRect(r, QColor(200, 10, 90, 120));
                }
                FaceFrame frame = face.lastFrame;
                face.renderer.drawFrame(pixels, frame, state, face.button, area);
                EXPECT_TRUE(pixels == expected)
                    << "differs by " << maxChannelDifference(pixels, expected);
            }
    }
}

// The clock draws a second's frame on its own thread so that no other thread wakes
// for it. The pool's only thread is held busy while the frame is drawn: a frame that
// handed fills to the pool would wait for that thread, which in turn gives up
// waiting and says so.
TEST(FaceRenderer, APartialFrameDrawnOutsideThePoolLeavesThePoolAlone) {
    const ClockSettings largest = largestFace();
    QThreadPool* pool = QThreadPool::globalInstance();
    const int threads = pool->maxThreadCount();
    pool->setMaxThreadCount(1);
    for (const ClockSettings& s : {defaultSettings(), largest}) {
        // Seconds late in a quarter give the areas of most pieces; a new minute
        // redraws the ring layer whole and is drawn on the pool.
        for (const int second : {14, 44, 58}) {
            const QDateTime from = at(15, 25, second), to = from.addSecs(1);
            SCOPED_TRACE(std::to_string(s.radius) + " " + std::to_string(second));
            const FaceState state{true, hotbutton::Close, true};
            Face face(s);
            face.draw(from, state);
            FaceFrame after = composeFaceFrame(to, s, QStringLiteral("Office"), kUs);
            FaceRenderer::settleTexts(after);
            const QRegion area = face.renderer.changedArea(face.lastFrame, after);
            ASSERT_GT(area.rectCount(), 1);
            QSemaphore busy, gate;
            bool released = false;
            pool->start([&] {
                busy.release();
                released = gate.tryAcquire(1, 10000);
            });
            busy.acquire();
            face.renderer.drawFrame(face.surface.image(), after, state, face.button, area);
            gate.release();
            pool->waitForDone();
            EXPECT_TRUE(released);
        }
    }
    pool->setMaxThreadCount(threads);
}

// On a scaled screen the surface has more pixels than the window: the dial laid
// under each frame must cover the surface pixels of each changed area, no fewer
// and no more, at a whole ratio and at a fractional one alike.
TEST(FaceRenderer, AScaledSurfaceGetsTheSameFramesWholeAndInPart) {
    for (const qreal dpr : {2.0, 1.5}) {
        SCOPED_TRACE(dpr);
        ClockSettings s = defaultSettings();
        s.opacityStep = 5; // a translucent dial: its rim and colour both show
        const ClockLayout layout = calcClockLayout(s);
        DrawTools tools;
        tools.createDrawTools(s);
        const QSize side(layout.windowSize(), layout.windowSize());
        DrawingSurface partial, whole, direct;
        FaceRenderer partialRenderer, wholeRenderer;
        for (DrawingSurface* surface : {&partial, &whole, &direct})
            surface->createSurface(side, dpr);
        partialRenderer.prepare(layout, tools, partial.fontFamily(), dpr);
        partialRenderer.prepareSecondSteps();
        wholeRenderer.prepare(layout, tools, whole.fontFamily(), dpr);
        const QImage button = stripImage();
        const FaceState state{false, hotbutton::Hidden, true};
        FaceFrame before = composeFaceFrame(at(15, 25, 44), s, QStringLiteral("Office"), kUs);
        FaceRenderer::settleTexts(before);
        FaceFrame first = before;
        partialRenderer.drawFrame(partial.image(), first, state, button);
        // On into a new minute and the one after: the partial frames carry their ring
        // layer, the whole frame gets one drawn afresh.
        for (const int second : {45, 46, 59, 60, 61, 62, 121, 122}) {
            SCOPED_TRACE(second);
            FaceFrame after =
                composeFaceFrame(at(15, 25, 0).addSecs(second), s, QStringLiteral("Office"), kUs);
            FaceRenderer::settleTexts(after);
            const QRegion area = partialRenderer.changedArea(before, after);
            wholeRenderer.prepare(layout, tools, whole.fontFamily(), dpr);
            FaceFrame a = after, b = after, c = after;
            if (!partialRenderer.drawChange(partial.image(), before, a, state, button, area))
                partialRenderer.drawFrame(partial.image(), a, state, button, area);
            wholeRenderer.drawFrame(whole.image(), b, state, button);
            wholeRenderer.drawFrameDirect(direct.image(), c, state, button);
            EXPECT_TRUE(partial.image() == whole.image())
                << "differs by " << maxChannelDifference(partial.image(), whole.image());
            // At a whole ratio the dial is laid from its runs, which must give the
            // dial as drawn. (A fractional ratio scales each layer as it is blended.)
            if (dpr == 2.0) {
                EXPECT_LE(maxChannelDifference(whole.image(), direct.image()), 3);
            }
            before = after;
        }
    }
}

// A layer kept as runs must leave exactly the pixels QPainter leaves with the image:
// opaque, translucent and transparent pixels, stretches of one colour long and
// short, on opaque, translucent and transparent ground, in part and whole.
TEST(PixelRuns, CopyAndBlendLeaveWhatThePainterLeaves) {
    QImage layer(40, 12, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(200, 40, 90, 170), 3));
        p.drawEllipse(QRectF(2.3, 1.6, 30, 9));
        p.fillRect(QRect(5, 4, 20, 2), QColor(10, 220, 30));
        p.fillRect(QRect(28, 7, 9, 3), QColor(90, 90, 250, 60));
    }
    for (int x = 0; x < 40; x += 7)
        layer.setPixel(x, 11, qPremultiply(qRgba(255, 255, 0, x * 6)));
    QImage ground(48, 20, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < ground.height(); ++y)
        for (int x = 0; x < ground.width(); ++x)
            ground.setPixel(x, y, qPremultiply(qRgba(x * 5, y * 12, 128, (x * 37 + y * 11) % 256)));
    const QPoint origin(5, 3);
    // A patch over the layer's right end and past its edges, with a hole and runs
    // that cross its sides: where it lies on the layer its pixels replace the layer's.
    QImage patch(14, 9, QImage::Format_ARGB32_Premultiplied);
    patch.fill(QColor(10, 220, 30));
    patch.setPixel(3, 2, 0);
    patch.setPixel(5, 2, qPremultiply(qRgba(255, 255, 0, 80)));
    const QPoint patchAt(27, 5);
    QImage patchedLayer = layer.copy();
    {
        QPainter p(&patchedLayer);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(patchAt, patch);
    }
    const PixelRuns runs(layer, origin);
    const struct {
        const char* what;
        const QImage& image;
        PixelRuns runs;
    } layers[] = {{"layer", layer, runs},
                  {"patched", patchedLayer, runs.patched(patch, origin + patchAt)}};
    for (const auto& l : layers)
        for (const QRect& rect : {ground.rect(), QRect(9, 4, 13, 6), QRect(30, 0, 18, 20)}) {
            SCOPED_TRACE(QString("%1 %2,%3 %4x%5")
                             .arg(l.what)
                             .arg(rect.x())
                             .arg(rect.y())
                             .arg(rect.width())
                             .arg(rect.height())
                             .toStdString());
            for (const bool blend : {false, true}) {
                QImage expected = ground.copy(), actual = ground.copy();
                {
                    QPainter p(&expected);
                    p.setClipRect(rect);
                    if (!blend) {
                        p.setCompositionMode(QPainter::CompositionMode_Source);
                        p.fillRect(rect, Qt::transparent);
                    }
                    p.drawImage(origin, l.image);
                }
                const SurfacePixels pixels(actual);
                if (blend)
                    l.runs.blendOnto(pixels, rect);
                else
                    l.runs.copyTo(pixels, rect);
                EXPECT_TRUE(actual == expected) << (blend ? "blend" : "copy") << " differs by "
                                                << maxChannelDifference(actual, expected);
            }
        }
    // Read along a row, left to right, a layer gives its own pixels, transparent
    // where it has none (rows and columns past its edges too), and tells whether it
    // has any in a stretch.
    for (const auto& l : layers)
        for (int y = 0; y < ground.height(); ++y) {
            const auto at = [&](int x) {
                const QPoint p = QPoint(x, y) - origin;
                return l.image.rect().contains(p)
                           ? reinterpret_cast<const QRgb*>(l.image.constScanLine(p.y()))[p.x()]
                           : QRgb(0);
            };
            PixelRuns::RowReader reader(l.runs, y), reaching(l.runs, y);
            for (int x = 0; x < ground.width(); x += 1 + y % 3)
                EXPECT_EQ(reader.at(x), at(x)) << l.what << " at " << x << "," << y;
            for (int from = 0; from < ground.width(); from += 4) {
                bool any = false;
                for (int x = from; x < from + 3; ++x)
                    any = any || at(x) != 0;
                EXPECT_EQ(reaching.reaches(from, from + 3), any)
                    << l.what << " from " << from << "," << y;
            }
        }
}

// A patched layer keeps the rows the patch does not cross as they were and runs the
// others anew: wherever the patch lies (top rows, bottom rows, the middle, past every
// edge, over all of it, beside it), the layer leaves the pixels of the patched image,
// also after a second patch that starts from the first.
TEST(PixelRuns, PatchedLeavesThePatchedImage) {
    QImage layer(30, 16, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < layer.height(); ++y)
        for (int x = 0; x < layer.width(); ++x) {
            // Rows of one colour, rows of single pixels and transparent gaps.
            const QRgb pixel = y % 3 == 0 ? qPremultiply(qRgba(20, 200, 90, 255))
                               : y % 3 == 1
                                   ? qPremultiply(qRgba(x * 8, y * 15, 60, 40 + x * 7))
                                   : (x % 5 < 2 ? 0u : qPremultiply(qRgba(250, 10, 10, 128)));
            layer.setPixel(x, y, pixel);
        }
    QImage patch(12, 5, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < patch.height(); ++y)
        for (int x = 0; x < patch.width(); ++x)
            patch.setPixel(x, y,
                           (x + y) % 4 == 0 ? 0u : qPremultiply(qRgba(x * 20, 90, y * 50, 200)));
    QImage big(40, 30, QImage::Format_ARGB32_Premultiplied);
    big.fill(qPremultiply(qRgba(0, 0, 255, 255)));
    // Of the colour of every third row, so that runs join across the patch's sides.
    QImage alike(6, 7, QImage::Format_ARGB32_Premultiplied);
    alike.fill(qPremultiply(qRgba(20, 200, 90, 255)));
    const QPoint origin(4, 2);
    const struct {
        const char* where;
        const QImage& image;
        QPoint at; // in layer pixels
    } patches[] = {{"top", patch, {9, 0}},
                   {"bottom", patch, {3, 11}},
                   {"middle", patch, {10, 6}},
                   {"past the top left", patch, {-5, -3}},
                   {"past the bottom right", patch, {24, 13}},
                   {"over all", big, {-5, -5}},
                   {"beside", patch, {31, 2}},
                   {"below", patch, {0, 17}},
                   {"one row", patch, {2, 15}},
                   {"alike", alike, {12, 4}},
                   {"alike at the left", alike, {0, 8}}};
    QImage ground(40, 24, QImage::Format_ARGB32_Premultiplied);
    ground.fill(qPremultiply(qRgba(30, 60, 90, 255)));
    const auto expectSame = [&](const PixelRuns& runs, const QImage& image, const char* what) {
        QImage expected = ground.copy(), actual = ground.copy();
        {
            QPainter p(&expected);
            p.drawImage(origin, image);
        }
        runs.blendOnto(SurfacePixels(actual), actual.rect());
        EXPECT_TRUE(actual == expected)
            << what << " differs by " << maxChannelDifference(actual, expected);
    };
    const auto patchImage = [](const QImage& image, const QImage& with, QPoint at) {
        QImage out = image.copy();
        QPainter p(&out);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(at, with);
        return out;
    };
    const PixelRuns runs(layer, origin);
    for (const auto& first : patches) {
        SCOPED_TRACE(first.where);
        const QImage once = patchImage(layer, first.image, first.at);
        const PixelRuns patched = runs.patched(first.image, origin + first.at);
        expectSame(patched, once, "patched once");
        // The table a patch leaves is as sound as one made from an image.
        for (const auto& second : patches) {
            SCOPED_TRACE(second.where);
            expectSame(patched.patched(second.image, origin + second.at),
                       patchImage(once, second.image, second.at), "patched twice");
        }
    }
}
