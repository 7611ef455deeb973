#include "settings/clocksettings.h"
