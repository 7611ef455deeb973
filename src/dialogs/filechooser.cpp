#include "dialogs/filechooser.h"

#include "base/messagesink.h"
#include "dialogs/toolkitsettings.h"
#include "widgets/filefilter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>

namespace ovra {

QString DialogFileChooser::chooseFile(QWidget* owner, bool save, const QString& title,
                                      const QString& filter, const QString& initialPath) {
    // What QFileDialog's static functions do, but on the heap: they keep the dialog
    // on their stack, and an owner deleted while it runs would delete it a second time.
    keepToolkitSettingsOutOfTheUserFolder(); // the dialog would store its history
    const QPointer<QFileDialog> dialog =
        new QFileDialog(owner, title, initialPath, toQtFileFilter(filter));
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const int result = dialog->exec();
    if (!dialog)
        return {};
    const QStringList chosen = dialog->selectedFiles();
    delete dialog.data();
    return result == QDialog::Accepted ? chosen.value(0) : QString();
}

QString DialogFileChooser::cannotOpenReason() {
    if (m_threadsCanStart && !m_threadsCanStart())
        return QStringLiteral(QT_TRANSLATE_NOOP(
            "Messages",
            "The file dialog cannot open: no thread can be started (a process or memory limit)."));
    return {};
}

QString fileDialog(FileChooser& chooser, MessageSink& messages, QWidget* owner, bool save,
                   const QString& title, const QString& filter, const QString& initialName,
                   const QString& defaultExt, const QString& initialFolder) {
    if (initialName.size() > kMaxDialogFileName) {
        messages.showMessage(
            QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Filename Length Overflow")),
            QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Ovra Clock - FileDialog Function")),
            MessageIcon::Warning);
        return {};
    }
    if (const QString why = chooser.cannotOpenReason(); !why.isEmpty()) {
        messages.showMessage(why, kPlainTitle, MessageIcon::Warning);
        return {};
    }
    QString start = initialName;
    if (!initialFolder.isEmpty())
        start = QDir(initialFolder).filePath(initialName);
    QString chosen = chooser.chooseFile(owner, save, title, filter, start);
    if (save && !chosen.isEmpty() && !defaultExt.isEmpty() && QFileInfo(chosen).suffix().isEmpty())
        chosen += u'.' + defaultExt;
    return chosen;
}

} // namespace ovra
