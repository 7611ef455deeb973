#pragma once

// Doubles for the dialogs' platform seams: the colour and file dialogs, the link
// opener.
#include "dialogs/colourpicker.h"
#include "dialogs/filechooser.h"
#include "dialogs/linkopener.h"

#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>
#include <vector>

namespace ovra::test {

// Answers both colour dialogs from a script and remembers how it was asked.
class ScriptedPicker final : public ColourPicker {
public:
    std::optional<int32_t> colour; // nullopt: the user cancels
    std::function<int(int)> alpha = [](int start) {
        return start;
    };
    std::vector<int32_t> initials;
    std::vector<int> alphaStarts;

    std::optional<int32_t> pickColour(QWidget*, int32_t initialDisplay) override {
        initials.push_back(initialDisplay);
        return colour;
    }
    int pickAlpha(QWidget*, int startAlpha) override {
        alphaStarts.push_back(startAlpha);
        return alpha(startAlpha);
    }
};

class FakeFileChooser final : public FileChooser {
public:
    QString answer; // empty: the user cancels
    QStringList filters;
    QStringList titles;
    QStringList starts;
    QString chooseFile(QWidget*, bool, const QString& title, const QString& filter,
                       const QString& start) override {
        filters << filter;
        titles << title;
        starts << start;
        return answer;
    }
};

class RecordingOpener final : public LinkOpener {
public:
    void openLink(const QUrl& url) override { opened.push_back(url); }
    std::vector<QUrl> opened;
};

} // namespace ovra::test
