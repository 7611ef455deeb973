#pragma once

#include <QString>

class QWidget;

namespace ovra {

class MessageSink;

// The open and save file dialogs. A seam, so tests answer them without a modal loop.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The chosen path, or an empty text when the user cancels. filter is in the
    // "Description|*.a;*.b|..." form.
    virtual QString chooseFile(QWidget* owner, bool save, const QString& title,
                               const QString& filter, const QString& initialPath) = 0;
};

class DialogFileChooser final : public FileChooser {
public:
    QString chooseFile(QWidget* owner, bool save, const QString& title, const QString& filter,
                       const QString& initialPath) override;
};

// Longest initial file name the file dialog takes, in characters.
inline constexpr int kMaxDialogFileName = 260;

// Asks for a file. An initial file name longer than the dialog takes is refused with
// "Filename Length Overflow"; the result is then empty, as for a cancel. The default
// extension is added to a typed name without one when saving.
QString FileDialog(FileChooser& chooser, MessageSink& messages, QWidget* owner, bool save,
                   const QString& title, const QString& filter, const QString& initialName = {},
                   const QString& defaultExt = {}, const QString& initialFolder = {});

} // namespace ovra
