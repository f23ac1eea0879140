#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <optional>

class QWidget;

/// Every message box, file chooser, color chooser and font chooser of the program goes
/// through this interface, so windows can be driven by tests without a modal loop.
class Prompter {
public:
    enum class Icon { None, Information, Warning, Question, Error };
    enum class Buttons { Ok, OkCancel, YesNo };
    enum class Answer { Ok, Cancel, Yes, No };

    struct FileRequest {
        QString title;
        QString directory;    ///< folder the chooser opens in
        QString fileName;     ///< proposed name (save) or empty
        QString filter;       ///< Qt filter text, e.g. "Bitmap (*.bmp);;JPEG (*.jpg)"
        QString selectedFilter;
    };
    struct FileAnswer {
        QString path;            ///< full path chosen
        QString selectedFilter;  ///< the filter that was active when the user confirmed
    };

    virtual ~Prompter() = default;

    /// A message box; caption empty means the program's name.
    virtual Answer message(QWidget* parent, const QString& text, Icon icon,
                           Buttons buttons = Buttons::Ok, const QString& caption = {}) = 0;
    virtual std::optional<FileAnswer> openFile(QWidget* parent, const FileRequest& request) = 0;
    virtual std::optional<FileAnswer> saveFile(QWidget* parent, const FileRequest& request) = 0;
    /// Chooses a folder (Save All); empty optional when cancelled.
    virtual std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                                const QString& directory) = 0;
    virtual std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) = 0;
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;

    struct FontChoice {
        QFont font;    ///< face, size, style, underline and strike-out
        QColor color;  ///< the text color chosen with it
    };
    /// A font chooser with effects (underline, strike-out and a text color). Without an
    /// initial font it opens on the default font. The base version asks chooseFont and then
    /// chooseColor; a color chooser closed with Cancel keeps initialColor.
    virtual std::optional<FontChoice> chooseFontWithColor(QWidget* parent,
                                                          const std::optional<QFont>& initialFont,
                                                          const QColor& initialColor);
};

/// The real prompter: Qt's standard dialogs, modal to their parent.
class QtPrompter final : public Prompter {
public:
    Answer message(QWidget* parent, const QString& text, Icon icon, Buttons buttons,
                   const QString& caption) override;
    std::optional<FileAnswer> openFile(QWidget* parent, const FileRequest& request) override;
    std::optional<FileAnswer> saveFile(QWidget* parent, const FileRequest& request) override;
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                        const QString& directory) override;
    std::optional<QColor> chooseColor(QWidget* parent, const QColor& initial) override;
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override;
    /// One dialog: Qt's font chooser with a color button beside its effects.
    std::optional<FontChoice> chooseFontWithColor(QWidget* parent, const std::optional<QFont>& initialFont,
                                                  const QColor& initialColor) override;
};
