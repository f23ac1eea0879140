#pragma once

#include "measure/fontdescription.h"

#include <QDialog>
#include <QFont>

#include <cstdint>

class LocalText;
class Prompter;
class QLineEdit;
class TextPreview;

/// The text dialog of the photo-measure window: the text the text tool places, its font
/// and its color. The caller hands color and font in before showing it. The getters give
/// the choices made only once the dialog has ended with OK, and the handed-in values (and
/// no text) until then, so Cancel changes nothing. The text box starts empty every time.
///
/// Controls carry their localisation keys as object names ("EnterText", "Font", "OK",
/// "Cancel", "Preview"); the text box is "TextBox".
class TextSettingDialog : public QDialog {
    Q_OBJECT
public:
    /// Longest text the text box takes.
    static constexpr int maxTextLength = 254;

    TextSettingDialog(Prompter& prompter, const LocalText& localText, QWidget* parent = nullptr);

    void setTextColor(uint32_t colorRef);
    void setTextFont(const FontDescription& font);

    /// The text taken from the box at OK; empty before.
    const QString& text() const { return m_handedBack.text; }
    uint32_t textColor() const { return m_handedBack.textColor; }
    const FontDescription& textFont() const { return m_handedBack.textFont; }

public slots:
    void accept() override;

private:
    void chooseFont();

    void showFont(const FontDescription& font);
    void showColor(uint32_t colorRef);

    struct Values {
        QString text;
        uint32_t textColor = 255;
        FontDescription textFont = FontDescription::arial(12);
    };

    Prompter& m_prompter;
    Values m_values;  ///< what the dialog shows now
    Values m_handedBack;
    QFont m_font;  ///< made from the current text font; draws the preview
    QLineEdit* m_textBox = nullptr;
    TextPreview* m_preview = nullptr;
};
