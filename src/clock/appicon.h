#pragma once

#include <QIcon>

namespace ovra {

// The program's icon, as the installed ovra-clock.svg draws it: the three rings part
// filled, the dial and, where there is room, a time. Drawn here rather than read
// from the SVG, so that every window carries it (taskbars, title bars, Alt+Tab)
// also when run from the build tree, and no image plugin is loaded for it.
QIcon applicationIcon();

} // namespace ovra
