#pragma once

#include "platform/prompter.h"

#include <QStringList>

#include <deque>
#include <vector>

/// A prompter for tests: records every question and answers from queues the test fills.
/// An unscripted message box answers OK (or No for a Yes/No question); an unscripted
/// chooser is cancelled. Nothing ever blocks.
class ScriptedPrompter final : public Prompter {
public:
    struct Shown {
        QString text;
        Icon icon;
        Buttons buttons;
        QString caption;
    };

    std::deque<Answer> answers;
    std::deque<std::optional<FileAnswer>> files;
    std::deque<std::optional<QString>> folders;
    std::deque<std::optional<QColor>> colors;
    std::deque<std::optional<QFont>> fonts;

    std::vector<Shown> shown;               ///< every message box, in order
    std::vector<FileRequest> fileRequests;  ///< every file chooser request, in order
    std::vector<QColor> colorRequests;      ///< the color every color chooser opened on
    /// The font every font-with-color chooser opened on (none: the default font). Its color
    /// chooser, asked next, lands in colorRequests.
    std::vector<std::optional<QFont>> fontRequests;

    /// The texts of every message shown so far.
    QStringList texts() const;

    Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons,
                   const QString& caption) override;
    std::optional<FileAnswer> openFile(QWidget* parent, const FileRequest& request) override;
    std::optional<FileAnswer> saveFile(QWidget* parent, const FileRequest& request) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                        const QString& directory) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
    std::optional<FontChoice> chooseFontWithColor(QWidget* parent, const std::optional<QFont>& initialFont,
                                                  const QColor& initialColor) override;
};
