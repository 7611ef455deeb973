#include "dialogs/filechooser.h"

#include "shell/messagesink.h"
#include "widgets/filefilter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace ovra {

QString DialogFileChooser::chooseFile(QWidget* owner, bool save, const QString& title,
                                      const QString& filter, const QString& initialPath) {
    const QString qtFilter = toQtFileFilter(filter);
    return save ? QFileDialog::getSaveFileName(owner, title, initialPath, qtFilter)
                : QFileDialog::getOpenFileName(owner, title, initialPath, qtFilter);
}

QString FileDialog(FileChooser& chooser, MessageSink& messages, QWidget* owner, bool save,
                   const QString& title, const QString& filter, const QString& initialName,
                   const QString& defaultExt, const QString& initialFolder) {
    if (initialName.size() > kMaxDialogFileName) {
        messages.showMessage(QStringLiteral("Filename Length Overflow"),
                             kPlainTitle + QStringLiteral(" - FileDialog Function"),
                             MessageIcon::Warning);
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
