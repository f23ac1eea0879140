#pragma once

#include "platform/prompter.h"

#include <cstdio>

/// Message boxes become lines on the standard output; choosers are cancelled. Nothing waits
/// for a user.
class PrintingPrompter final : public Prompter {
public:
    Answer message(QWidget*, const QString& text, Icon, Buttons buttons, const QString&) override
    {
        std::printf("%s\n", text.toUtf8().constData());
        std::fflush(stdout);
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
    std::optional<FileAnswer> openFile(QWidget*, const FileRequest&) override { return std::nullopt; }
    std::optional<FileAnswer> saveFile(QWidget*, const FileRequest&) override { return std::nullopt; }
    std::optional<QString> chooseFolder(QWidget*, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return std::nullopt; }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return std::nullopt; }
};
