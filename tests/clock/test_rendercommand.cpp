// ovra-clock --render, run as a user or a bug report would run it: no display, a
// private home, the store as the clock left it.
#include "settings/settingsstore.h"
#include "settings/sqlitestorebackend.h"
#include "support/testenv.h"
#include "time/zonetable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QtMath>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace ovra;

namespace {

struct RenderRun {
    int exitCode = -1;
    QString output;
};

// lang, when given, is the user's only locale setting.
RenderRun render(const QStringList& args, const char* lang = nullptr) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (lang) {
        for (const char* variable : {"LC_ALL", "LC_TIME", "LC_MESSAGES", "LANGUAGE"})
            env.remove(QString::fromLatin1(variable));
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(lang));
    }
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(OVRA_CLOCK_BIN), args);
    RenderRun r;
    if (!p.waitForStarted(5000) || !p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished(3000);
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.output = QString::fromLocal8Bit(p.readAll());
    return r;
}

void store(const QString& storePath, const QString& name, const ClockSettings& s) {
    SqliteStoreBackend backend(storePath);
    KeyStore store(backend);
    ClockState state;
    state.clockName = name;
    state.settings = s;
    ASSERT_EQ(writeClockSettings(store, state), 0);
}

// The pixel at a radius and a clockwise angle from twelve o'clock.
QRgb ringPixel(const QImage& img, double radius, double degrees) {
    const double c = img.width() / 2;
    const double a = qDegreesToRadians(degrees);
    return img.pixel(qFloor(c + 0.5 + radius * std::sin(a)),
                     qFloor(c + 0.5 - radius * std::cos(a)));
}

} // namespace

TEST(RenderCommand, DrawsTheStoredFaceAtTheGivenTimeWithoutADisplay) {
    test::TestHome home;
    ClockSettings office = defaultSettings();
    office.ClockRadius = 128;
    office.HourCircleWidth = office.MinuteCircleWidth = office.SecondCircleWidth = 50;
    office.SecondCircleColor = int32_t(0xFF0000FFu);
    office.HourMode = 1;
    office.TimeZoneIndex = zoneIndexForOffset(60);
    store(home.storePath(), QStringLiteral("Office Two"), office);

    const struct {
        QStringList args;
        int side;
        double secondMid; // middle radius of the second ring
        QRgb secondColour;
    } cases[] = {
        {{QStringLiteral("--at"), QStringLiteral("2026-05-17 15:25:07")}, 246, 93, 0xFF71A713},
        {{QStringLiteral("--at=2026-05-17 15:25:07"), QStringLiteral("Office"),
          QStringLiteral("Two")},
         598,
         253,
         0xFF0000FF},
    };
    for (const auto& c : cases) {
        const QString file = home.path() + QStringLiteral("/face.png");
        QFile::remove(file);
        const RenderRun r = render(QStringList{QStringLiteral("--render"), file} + c.args);
        ASSERT_EQ(r.exitCode, 0) << qPrintable(r.output);
        const QImage img(file);
        ASSERT_EQ(img.size(), QSize(c.side, c.side));
        EXPECT_TRUE(img.hasAlphaChannel());
        EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(img.pixel(c.side - 1, c.side - 1)), 0);
        // Second 7: a 42 degree arc; the strip is hidden, the window inactive.
        EXPECT_EQ(ringPixel(img, c.secondMid, 21), c.secondColour);
        EXPECT_EQ(ringPixel(img, c.secondMid, 63), 0xFF000000u);
        EXPECT_EQ(qAlpha(img.pixel(c.side - 10, 40)), 0);
    }
}

// The default clock's face, drawn by an earlier build and kept as the record: how
// the face is drawn may get faster, never different, not by one pixel.
TEST(RenderCommand, TheDefaultFaceKeepsEveryPixelOfTheRecord) {
    test::TestHome home;
    const struct {
        const char* at;
        const char* record;
    } cases[] = {
        {"2026-05-17 15:25:07", "default-face-152507.png"},
        {"2026-12-31 23:59:59", "default-face-235959.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at);
        const QString file = home.path() + QStringLiteral("/face.png");
        const RenderRun r = render(
            {QStringLiteral("--render"), file, QStringLiteral("--at"), QString::fromLatin1(c.at)},
            "en_US.UTF-8");
        ASSERT_EQ(r.exitCode, 0) << qPrintable(r.output);
        // Compared as the window gets them, premultiplied. A PNG holds straight
        // alpha, and where a colour falls halfway between two straight values Qt's
        // conversions round one way or the other depending on the processor.
        const QImage record =
            QImage(QStringLiteral(OVRA_TEST_DATA "/") + QString::fromLatin1(c.record))
                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_FALSE(record.isNull());
        const QImage face = QImage(file).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        ASSERT_EQ(face.size(), record.size());
        int differing = 0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                differing += face.pixel(x, y) != record.pixel(x, y);
        EXPECT_EQ(differing, 0);
    }
}

// A British face on 7 December shows the day first: the very pixels an American
// face shows on 12 July, when the month comes first.
TEST(RenderCommand, TheDateIsDrawnInTheOrderOfTheUsersLocale) {
    test::TestHome home;
    store(home.storePath(), QStringLiteral("Office"), defaultSettings());
    const auto face = [&](const char* at, const char* lang) {
        const QString file = home.path() + QStringLiteral("/%1-%2.png").arg(at, lang);
        const RenderRun r = render({QStringLiteral("--render"), file, QStringLiteral("--at"),
                                    QString::fromLatin1(at) + QStringLiteral(" 10:08:00"),
                                    QStringLiteral("Office")},
                                   lang);
        EXPECT_EQ(r.exitCode, 0) << qPrintable(r.output);
        return QImage(file);
    };
    const QImage british = face("2026-12-07", "en_GB.UTF-8");
    ASSERT_FALSE(british.isNull());
    EXPECT_EQ(british, face("2026-07-12", "en_US.UTF-8"));
    EXPECT_NE(british, face("2026-12-07", "en_US.UTF-8"));
}

TEST(RenderCommand, RefusesBadInputWithAClearMessageAndWritesNothing) {
    test::TestHome home;
    const QString file = home.path() + QStringLiteral("/face.png");
    const struct {
        QStringList args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{QStringLiteral("--render"), file, QStringLiteral("--at"),
          QStringLiteral("17.5.2026 3:25")},
         2,
         "--at needs a time like"},
        {{QStringLiteral("--render"), file, QStringLiteral("--at"),
          QStringLiteral("2026-02-30 10:00:00")},
         2,
         "--at needs a time like"},
        {{QStringLiteral("--render"), file, QStringLiteral("../escape")}, 1, "cannot contain"},
        {{QStringLiteral("--render"), home.path() + QStringLiteral("/missing/face.png")},
         1,
         "Cannot write"},
        {{QStringLiteral("--render"), home.path()}, 1, "Cannot write"},
    };
    for (const auto& c : cases) {
        const RenderRun r = render(c.args);
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        EXPECT_EQ(r.exitCode, c.exitCode) << qPrintable(r.output);
        EXPECT_TRUE(r.output.contains(QString::fromLatin1(c.message))) << qPrintable(r.output);
        EXPECT_FALSE(r.output.trimmed().isEmpty());
        EXPECT_FALSE(QFileInfo::exists(file));
    }
    // Rendering never creates the store.
    EXPECT_EQ(render({QStringLiteral("--render"), file}).exitCode, 0);
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_FALSE(QFileInfo::exists(home.storePath()));
}

TEST(RenderCommand, OnlyARegularFileIsReplacedByThePicture) {
    test::TestHome home;
    const QByteArray dir = QFile::encodeName(home.path());
    struct Target {
        const char* what;
        QByteArray path;
        mode_t type;
    };
    std::vector<Target> targets;
    const QByteArray fifo = dir + "/pipe.png";
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    targets.push_back({"a pipe", fifo, S_IFIFO});
    const QByteArray link = dir + "/link-to-pipe.png";
    ASSERT_EQ(::symlink(fifo.constData(), link.constData()), 0);
    targets.push_back({"a link to a pipe", link, S_IFIFO});
    // A device node of its own in the test's folder, never one of the system's.
    const QByteArray device = dir + "/device.png";
    if (::mknod(device.constData(), S_IFCHR | 0600, makedev(1, 3)) == 0)
        targets.push_back({"a device", device, S_IFCHR});

    for (const Target& t : targets) {
        SCOPED_TRACE(t.what);
        const RenderRun r = render({QStringLiteral("--render"), QFile::decodeName(t.path)});
        EXPECT_EQ(r.exitCode, 1) << qPrintable(r.output);
        EXPECT_TRUE(r.output.contains(QStringLiteral("not a regular file")))
            << qPrintable(r.output);
        struct stat st {};
        ASSERT_EQ(::stat(t.path.constData(), &st), 0);
        EXPECT_EQ(st.st_mode & S_IFMT, t.type);
    }
    const RenderRun folder = render({QStringLiteral("--render"), home.path()});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_TRUE(folder.output.contains(QStringLiteral("folder"))) << qPrintable(folder.output);

    // A link to a regular file is followed: the file gets the picture, the link stays.
    const QString picture = home.path() + QStringLiteral("/old.png");
    QFile old(picture);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    const QString pictureLink = home.path() + QStringLiteral("/picture-link.png");
    ASSERT_TRUE(QFile::link(picture, pictureLink));
    EXPECT_EQ(render({QStringLiteral("--render"), pictureLink}).exitCode, 0);
    EXPECT_TRUE(QFileInfo(pictureLink).isSymLink());
    EXPECT_FALSE(QImage(picture).isNull());
}

TEST(RenderCommand, AnEmptyStoreIsReadButNeverWritten) {
    test::TestHome home;
    ASSERT_TRUE(QDir().mkpath(QFileInfo(home.storePath()).path()));
    QFile empty(home.storePath());
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    const QString file = home.path() + QStringLiteral("/face.png");
    const RenderRun r = render({QStringLiteral("--render"), file});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.output);
    EXPECT_FALSE(QImage(file).isNull());
    EXPECT_EQ(QFileInfo(home.storePath()).size(), 0);
    EXPECT_FALSE(QFileInfo::exists(home.storePath() + QStringLiteral("-wal")));
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
