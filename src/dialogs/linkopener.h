#pragma once

#include <QUrl>

namespace ovra {

// Hands a web or mail address to the desktop (default browser, mail program).
// A seam, so tests never open a browser.
class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    virtual void openLink(const QUrl& url) = 0;
};

class DesktopLinkOpener final : public LinkOpener {
public:
    // Failures are ignored: there is nothing useful to tell the user.
    void openLink(const QUrl& url) override;
};

} // namespace ovra
