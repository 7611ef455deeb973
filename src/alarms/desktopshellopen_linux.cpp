#include "alarms/desktopshellopen.h"

#include <QCoreApplication>
#include <QProcess>

namespace ovra {

namespace {

// Why xdg-open gave up, by its exit status.
QString openerFailure(int status) {
    switch (status) {
    case 2:
        return QCoreApplication::translate("ovra::DesktopShellOpen", "no such file");
    case 3:
        return QCoreApplication::translate("ovra::DesktopShellOpen", "no application opens it");
    default:
        //: %1 is the exit status of xdg-open.
        return QCoreApplication::translate("ovra::DesktopShellOpen",
                                           "xdg-open failed with status %1")
            .arg(status);
    }
}

} // namespace

DesktopShellOpen::~DesktopShellOpen() {
    // An opener still waiting (some wait for the application they started) is let
    // go quietly; the application it started keeps running.
    for (QProcess* opener : m_openers.findChildren<QProcess*>()) {
        opener->disconnect();
        opener->kill();
        opener->waitForFinished(1000);
    }
}

bool DesktopShellOpen::idle() const {
    for (const QProcess* opener : m_openers.findChildren<QProcess*>())
        if (opener->state() != QProcess::NotRunning)
            return false;
    return true;
}

void DesktopShellOpen::open(const ShellTarget& target, Failed failed) {
    switch (target.kind) {
    case ShellTarget::Kind::Program:
        if (!QProcess::startDetached(target.program, {}) && failed)
            failed(QCoreApplication::translate("ovra::DesktopShellOpen", "it cannot be started"));
        break;
    case ShellTarget::Kind::Document:
    case ShellTarget::Kind::Address: {
        auto* opener = new QProcess(&m_openers);
        opener->setStandardInputFile(QProcess::nullDevice());
        opener->setStandardOutputFile(QProcess::nullDevice());
        QObject::connect(opener, &QProcess::errorOccurred, opener,
                         [opener, failed](QProcess::ProcessError error) {
                             if (error != QProcess::FailedToStart)
                                 return;
                             opener->deleteLater();
                             if (failed)
                                 failed(QCoreApplication::translate("ovra::DesktopShellOpen",
                                                                    "xdg-open is not installed"));
                         });
        QObject::connect(opener, &QProcess::finished, opener,
                         [opener, failed](int status, QProcess::ExitStatus how) {
                             opener->deleteLater();
                             if (failed && (how != QProcess::NormalExit || status != 0))
                                 failed(openerFailure(how == QProcess::NormalExit ? status : -1));
                         });
        opener->start(QStringLiteral("xdg-open"), {QString::fromUtf8(target.url.toEncoded())});
        break;
    }
    case ShellTarget::Kind::NotFound: // the caller says so; there is nothing to start
    case ShellTarget::Kind::Refused:
    case ShellTarget::Kind::Nothing:
        break;
    }
}

} // namespace ovra
