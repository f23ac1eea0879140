#pragma once

#include "support/scriptedprompter.h"

#include <optional>
#include <vector>

/// Answers like the ScriptedPrompter it wraps and also keeps what each chooser was opened
/// on, so tests can check the initial color and font a dialog hands to a chooser.
class ChooserRecordingPrompter final : public Prompter {
public:
    ScriptedPrompter script;
    std::vector<QColor> colorRequests;
    std::vector<QFont> fontRequests;
    /// The initial font of every font-with-color request (empty when none was given).
    std::vector<std::optional<QFont>> fontWithColorRequests;
    std::vector<QColor> fontColorRequests;

    Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons,
                   const QString& caption) override
    {
        return script.message(parent, text, icon, buttons, caption);
    }
    std::optional<FileAnswer> openFile(QWidget* parent, const FileRequest& request) override
    {
        return script.openFile(parent, request);
    }
    std::optional<FileAnswer> saveFile(QWidget* parent, const FileRequest& request) override
    {
        return script.saveFile(parent, request);
    }
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                        const QString& directory) override
    {
        return script.chooseFolder(parent, title, directory);
    }
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override
    {
        colorRequests.push_back(initial);
        return script.chooseColor(parent, initial);
    }
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override
    {
        fontRequests.push_back(initial);
        return script.chooseFont(parent, initial);
    }
    // The base version asks chooseFont and then chooseColor, which the script answers.
    std::optional<FontChoice> chooseFontWithColor(QWidget* parent, const std::optional<QFont>& initialFont,
                                                  const QColor& initialColor) override
    {
        fontWithColorRequests.push_back(initialFont);
        fontColorRequests.push_back(initialColor);
        return Prompter::chooseFontWithColor(parent, initialFont, initialColor);
    }
};
