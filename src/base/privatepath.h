#pragma once

#include <QString>

namespace ovra {

// Creates the folder and every missing folder above it, each mode 0700 whatever the
// umask; folders that exist are left as they are. True when the folder is there.
// A umask of 000 would otherwise leave what the program creates (the user's config
// folder, the autostart folder) open for others to plant files in.
bool makePrivatePath(const QString& folder);

} // namespace ovra
