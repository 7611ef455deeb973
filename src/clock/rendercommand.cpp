#include "clock/rendercommand.h"

#include "base/apppaths.h"
#include "base/translations.h"
#include "clock/clocklayout.h"
#include "clock/drawingsurface.h"
#include "clock/drawtools.h"
#include "clock/faceframe.h"
#include "clock/facerenderer.h"
#include "settings/settingsstore.h"
#include "settings/sqlitestorebackend.h"
#include "time/clocktime.h"
#include "time/timesource.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>

#include <cstdio>
#include <memory>

namespace ovra {

namespace {

void printError(const QString& text) {
    std::fprintf(stderr, "ovra-clock: %s\n", qUtf8Printable(text));
}

// Stands in for a store that does not exist yet: every value reads as missing, so
// the clock renders with its defaults, and nothing is created on disk.
class AbsentStore final : public StoreBackend {
public:
    int readValue(uint32_t, const QString&, const QString&, RawValue&) override {
        return status::NotFound;
    }
    int writeValue(uint32_t, const QString&, const QString&, const RawValue&) override {
        return status::AccessDenied;
    }
    int deleteValue(uint32_t, const QString&, const QString&) override {
        return status::AccessDenied;
    }
    int deleteKey(uint32_t, const QString&) override { return status::AccessDenied; }
    bool keyExists(uint32_t, const QString& key) override { return key.isEmpty(); }
    int transaction(const std::function<bool()>& fn) override {
        return fn() ? status::Success : status::CannotWrite;
    }
};

// A saved file replaces whatever is at its path. Only a regular file (or a link to
// one) may be replaced by the picture: a device, a pipe or a socket there belongs to
// someone else, and a folder is no picture.
QString renderTargetProblem(const QString& path) {
    const QFileInfo target(path); // follows links
    if (!target.exists() || target.isFile())
        return {}; // nothing there yet, or the save says why it cannot write
    if (target.isDir())
        return QCoreApplication::translate("CommandLine", "it is a folder, not a file.");
    return QCoreApplication::translate(
        "CommandLine", "it is not a regular file (a device, a pipe or a socket); only a "
                       "regular file is replaced by the picture.");
}

} // namespace

QImage renderFace(const ClockSettings& settings, const QString& clockName,
                  const QDateTime& clockTime, const QLocale& locale) {
    const ClockLayout layout = calcClockLayout(settings);
    DrawTools tools;
    tools.createDrawTools(settings);
    DrawingSurface surface;
    surface.createSurface(QSize(layout.windowSize(), layout.windowSize()));
    FaceRenderer renderer;
    renderer.prepare(layout, tools, surface.fontFamily());
    FaceFrame frame = composeFaceFrame(clockTime, settings, clockName, locale);
    renderer.drawFrame(surface.image(), frame,
                       FaceState{false, hotbutton::Hidden, settings.DisplayScale == 0}, QImage());
    return surface.image();
}

QDateTime parseRenderTime(const QString& text) {
    const QDateTime t =
        QDateTime::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!t.isValid())
        return {};
    // A wall time of the clock itself, free of any zone's gaps.
    return QDateTime(t.date(), t.time(), Qt::UTC);
}

std::optional<int> checkRenderRequest(const RenderRequest& cl) {
    if (cl.file.trimmed().isEmpty()) {
        printError(
            QCoreApplication::translate("CommandLine", "--render needs the name of a PNG file."));
        return 2;
    }
    if (!cl.at.isEmpty()) {
        if (!parseRenderTime(cl.at).isValid()) {
            printError(
                QCoreApplication::translate(
                    "CommandLine", "--at needs a time like \"2026-05-17 15:25:07\", not \"%1\".")
                    .arg(cl.at));
            return 2;
        }
    }
    if (const QString problem = renderTargetProblem(cl.file); !problem.isEmpty()) {
        printError(QCoreApplication::translate("CommandLine", "Cannot write \"%1\": %2")
                       .arg(cl.file, problem));
        return 1;
    }
    return std::nullopt;
}

int runRenderCommand(int argc, char** argv, const RenderRequest& cl) {
    if (const std::optional<int> refused = checkRenderRequest(cl))
        return *refused;
    QDateTime at = cl.at.isEmpty() ? QDateTime() : parseRenderTime(cl.at);
    // Drawing needs fonts, not a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const Translations translations(QCoreApplication::applicationDirPath());

    const PathRoots roots = PathRoots::fromSystem();
    const QString storePath = AppPaths::storePathFor(roots);
    // Drawing only reads: the store is not created, converted or given a schema.
    std::unique_ptr<StoreBackend> backend;
    if (QFileInfo::exists(storePath))
        backend = std::make_unique<SqliteStoreBackend>(storePath, printError, 3000,
                                                       SqliteStoreBackend::Access::ReadOnly);
    else
        backend = std::make_unique<AbsentStore>();
    KeyStore store(*backend);

    SystemTimeSource time;
    ClockState state;
    state.clockName = cl.clockName;
    state.LocalBiasMinutes = getLocalBias(time);
    state.computerZoneIndex = computerZoneRow(time);
    loadClockSettings(store, state);
    if (!at.isValid()) {
        at = clockTime(time.nowUtc(), time.systemZone(), clockTimeInput(state));
    }

    const QImage face = renderFace(state.settings, state.clockName, at, QLocale());
    // Written whole or not at all: a failed render never leaves half a file behind.
    QSaveFile file(cl.file);
    if (face.isNull() || !file.open(QIODevice::WriteOnly)) {
        printError(QCoreApplication::translate("CommandLine", "Cannot write \"%1\": %2")
                       .arg(cl.file, file.errorString()));
        return 1;
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(face) || !file.commit()) {
        const QString why = writer.error() != QImageWriter::UnknownError ? writer.errorString()
                                                                         : file.errorString();
        printError(QCoreApplication::translate("CommandLine", "Cannot write \"%1\": %2")
                       .arg(cl.file, why));
        return 1;
    }
    return 0;
}

} // namespace ovra
