#include "dialogs/linkopener.h"

#include <QDesktopServices>

namespace ovra {

void DesktopLinkOpener::openLink(const QUrl& url) {
    if (url.isValid())
        QDesktopServices::openUrl(url);
}

} // namespace ovra
