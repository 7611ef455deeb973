#pragma once

#include "base/ossupport.h"

#include <QString>

#include <functional>

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
    // Why no dialog can open now, as a text of the context "Messages"; empty when
    // one can.
    virtual QString cannotOpenReason() { return {}; }
};

// The toolkit's dialog. Its folder view reads the files on a thread of its own and
// waits for good on one that did not start (a desktop's own dialog starts threads
// as well): under a process or memory limit the dialog is refused instead.
class DialogFileChooser final : public FileChooser {
public:
    explicit DialogFileChooser(std::function<bool()> threadsCanStart = ovra::threadsCanStart)
        : m_threadsCanStart(std::move(threadsCanStart)) {}
    QString chooseFile(QWidget* owner, bool save, const QString& title, const QString& filter,
                       const QString& initialPath) override;
    QString cannotOpenReason() override;

private:
    std::function<bool()> m_threadsCanStart;
};

// Longest initial file name the file dialog takes, in characters.
inline constexpr int kMaxDialogFileName = 260;

// Asks for a file. An initial file name longer than the dialog takes is refused with
// "Filename Length Overflow", a dialog that cannot open with its reason; the result
// is then empty, as for a cancel. The default
// extension is added to a typed name without one when saving.
QString fileDialog(FileChooser& chooser, MessageSink& messages, QWidget* owner, bool save,
                   const QString& title, const QString& filter, const QString& initialName = {},
                   const QString& defaultExt = {}, const QString& initialFolder = {});

} // namespace ovra
