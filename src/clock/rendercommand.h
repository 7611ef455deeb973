#pragma once

#include "settings/clocksettings.h"

#include <QDateTime>
#include <QImage>
#include <QLocale>
#include <QString>

#include <optional>

namespace ovra {

// The face of a clock in its resting state (window inactive, strip hidden) for the
// given wall time, drawn off-screen. Needs a QGuiApplication for the fonts.
QImage renderFace(const ClockSettings& settings, const QString& clockName,
                  const QDateTime& clockTime, const QLocale& locale);

// Reads "YYYY-MM-DD HH:MM:SS"; an invalid QDateTime when the text is anything else.
QDateTime parseRenderTime(const QString& text);

// What --render FILE.png [--at TIME] [NAME] asks for; an empty time means now.
struct RenderRequest {
    QString file;
    QString at;
    QString clockName;
};

// One frame of the clock's face from its stored settings into a PNG file, without
// a display and without writing to the store. Returns the process exit code.
int runRenderCommand(int argc, char** argv, const RenderRequest& request);

// The checks runRenderCommand makes before it starts drawing: prints the problem and
// returns the exit code for a request it refuses, nullopt for one it can draw.
std::optional<int> checkRenderRequest(const RenderRequest& request);

} // namespace ovra
